#pragma once
// Command codes, result codes and fixed sizes of the USB control frames.
#include <QtGlobal>

namespace UsbCmd {
enum Code : quint8 {
    REQ_PROG_UID = 0xC0,
    START_CMD = 0xC1,
    RESULT_CMD = 0xC2,
    // Count query: the host sends it, no answer is understood.
    CHECK_CNT_CMD = 0xC3,
    SWITCH_PAGE_CMD = 0xC4,
    SWITCH_IMAGE_CMD = 0xC5,
    SYNC_INIT_CMD = 0xC6,
    REFRESH_IMAGE_CMD = 0xC7,
    READ_MCU_CMD = 0xC8,
    REPORT_CONTENT_CMD = 0xC9,
    START_IMAGE_CMD = 0xCA,
    PROG_SPEC_DATA_CMD = 0xCB,
    EX_CMD = 0xCC,
    ERR_FRMCRC = 0xCE,
    FT_ATTR_CMD = 0xF1,
    FT_REQ_CMD = 0xF2,
    FT_RES_CMD = 0xF3,
    DEL_FILE_CMD = 0xF4,
    REQ_FILE_ATTR = 0xFA,
    REQ_FILE_DATA = 0xFB,
};

// EX_CMD sub-commands.
enum ExSub : quint8 { EX_IMAGE_NO = 0x01 };

// Pages of SWITCH_PAGE_CMD.
enum Page : quint8 { PAGE_HOME = 0, PAGE_BURN = 1, PAGE_VERIFY = 2, PAGE_SETTINGS = 3, PAGE_HELP = 4 };

// Result codes of RESULT_CMD and PROG_SPEC_DATA_CMD.
enum Result : quint8 {
    RES_OK = 0x00,
    RES_SWD = 0xE1,
    RES_FRAME_LEN = 0xE2,
    RES_VERIFY = 0xE3,
    RES_ERASE = 0xE4,
    RES_SHORT = 0xE5,
    RES_OTHER = 0xE6,
};

constexpr int kHead = 0x68;
constexpr int kMinFrame = 6;      // head, length, command, CRC
constexpr int kMaxFrame = 2048;   // the one frame buffer of the host
constexpr int kFileFrame = 1024;  // data bytes of one file frame
constexpr int kMaxImageNo = 149;
constexpr int kMaxNameLen = 255;  // file names carry a one-byte length
} // namespace UsbCmd

#pragma once
// Payloads of the USB control frames, each written once for both sides: the
// host builds and the programmer parses host commands, and the other way round
// for the answers. Frame() is empty when the values do not fit the frame;
// Parse() is false for a frame too short for its fields.
#include "usbcmd.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One byte after the command: START_IMAGE_CMD, SWITCH_PAGE_CMD, SWITCH_IMAGE_CMD
// and EX_CMD from the host (image, page, sub-command); the status answers of
// START_CMD, SWITCH_IMAGE_CMD, START_IMAGE_CMD, DEL_FILE_CMD, REFRESH_IMAGE_CMD,
// READ_MCU_CMD and FT_ATTR_CMD from the programmer.
struct UsbByte
{
    quint8 cmd = 0;
    quint8 value = 0;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// REQ_PROG_UID answer: three words of the unique ID.
struct UsbUid
{
    quint32 words[3] = {0, 0, 0};

    // "00" + each word in hex without leading zeros, upper case.
    QString Text() const;
    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// SWITCH_PAGE_CMD answer.
struct UsbPageAck
{
    quint8 status = 0;
    quint8 page = 0;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// RESULT_CMD and PROG_SPEC_DATA_CMD answers; the checksum follows a code of 0 only.
struct UsbResult
{
    quint8 cmd = UsbCmd::RESULT_CMD;
    quint8 code = 0;
    quint32 checksum = 0;

    bool IsPass() const { return code == UsbCmd::RES_OK; }
    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// SYNC_INIT_CMD from the host: "yy-MM-dd hh:mm:ss d", d the weekday (1 = Monday).
struct UsbSyncInit
{
    QString text;

    static QString TimeText(const QDateTime &time);
    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// SYNC_INIT_CMD answer: the programmer's history counters.
struct UsbCounters
{
    quint32 pass = 0;
    quint32 fail = 0;

    QByteArray Frame(quint8 cmd = UsbCmd::SYNC_INIT_CMD) const;
    bool Parse(const QByteArray &frame);
};

// READ_MCU_CMD from the host.
struct UsbReadMcu
{
    quint32 addr = 0;
    quint32 count = 0;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// PROG_SPEC_DATA_CMD from the host.
struct UsbSpecData
{
    quint32 addr = 0;
    QByteArray data;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// REPORT_CONTENT_CMD: time-out count of the flash algorithm.
struct UsbReport
{
    quint32 timeouts = 0;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// EX_CMD answer; sub-command 0x01 carries the current image number.
struct UsbExAnswer
{
    quint8 sub = 0;
    quint8 image = 0;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// FT_ATTR_CMD from the host: the file about to be pushed.
struct UsbFileAnnounce
{
    quint32 size = 0;
    quint16 frames = 0;
    quint32 crc = 0;
    QString name;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// A frame number: FT_REQ_CMD from the programmer, REQ_FILE_DATA from the host.
struct UsbFrameNo
{
    quint8 cmd = UsbCmd::FT_REQ_CMD;
    quint16 frame = 0;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// One frame of file data: FT_REQ_CMD answered by the host, REQ_FILE_DATA
// answered by the programmer. Parse() takes every byte up to the CRC.
struct UsbFileData
{
    quint8 cmd = UsbCmd::FT_REQ_CMD;
    quint16 frame = 0;
    QByteArray data;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// FT_RES_CMD: verification result of a pushed file.
struct UsbFileResult
{
    quint8 status = 0;
    QString name;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// A file name or path: DEL_FILE_CMD and REQ_FILE_ATTR from the host.
struct UsbFileName
{
    quint8 cmd = UsbCmd::REQ_FILE_ATTR;
    QString name;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

// REQ_FILE_ATTR answer: status, size, frame count (0 and 0 with a refusal).
struct UsbFileInfo
{
    quint8 status = 0;
    quint32 size = 0;
    quint16 frames = 0;

    QByteArray Frame() const;
    bool Parse(const QByteArray &frame);
};

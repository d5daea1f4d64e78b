#pragma once
// How a simulated USB programmer behaves: what its runs report and how long
// they take, its target flash, and where its counters and image start.
#include <QByteArray>
#include <QString>
#include <QVector>

struct SimBehaviour
{
    // Result codes of the runs, taken in turn (0 = pass).
    QVector<quint8> results{0};
    // Every n-th run (n > 0) reports failCode instead.
    int nFailEvery = 0;
    quint8 nFailCode = 0xE3;
    // Time from the start answer to the result.
    int nStartMs = 100;
    // Time-outs of the flash algorithm reported (REPORT_CONTENT_CMD) before
    // each result; none when 0.
    quint32 nFlmTimeouts = 0;
    // History counters at power-up.
    quint32 nPass = 0;
    quint32 nFail = 0;
    // Target flash: its size and the address of its first byte.
    int nFlashSize = 128 * 1024;
    quint32 nFlashBase = 0;
    // Bytes the target flash holds at power-up at an address (the rest is erased).
    quint32 nFlashDataAddr = 0;
    QByteArray flashData;
    // Image number active at power-up.
    quint8 nImage = 0;
    // VCP: a false frame head ("68 09 00 C4") on the line before every answer,
    // as a noisy cable gives the host.
    bool bNoise = false;

    // Code of run number run, counted from 1.
    quint8 ResultOf(int run) const;

    // "0x"-prefixed hexadecimal or decimal, within max; false for anything else.
    static bool ParseNumber(const QString &text, quint32 max, quint32 &value);
    // A comma-separated list of result codes.
    static bool ParseCodes(const QString &text, QVector<quint8> &codes);
    // "<addr>:<hex bytes>", e.g. "0x19000:01020304".
    static bool ParseFlashData(const QString &text, quint32 &addr, QByteArray &bytes);
    // "pass/fail".
    static bool ParseCounters(const QString &text, quint32 &pass, quint32 &fail);
};

#pragma once
// The serial number written after each good part: a 48-byte record whose text
// fields are joined into "10_QEL720A00001_11_QEL_12_" + yyMMdd + five count
// digits, padded with 0xFF to a multiple of 4 and sent with PROG_SPEC_DATA_CMD.
#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>

class CUsbSerialNo
{
    Q_DECLARE_TR_FUNCTIONS(CUsbSerialNo)

public:
    static constexpr int kRecordSize = 48;

    static QByteArray Record(const QDate &date, quint64 passCount);
    // The serial number taken from the record (37 bytes).
    static QByteArray GenerateSN(const QDate &date, quint64 passCount);
    // Zero-padded to 5 digits, then only the first 5: 123456 gives "12345".
    static QString CountDigits(quint64 count);
    // Pads with 0xFF to a multiple of 4; returns how many bytes were added.
    static int Align4(QByteArray &sn);
    // The write address field, hexadecimal; false when empty or not a number.
    static bool ParseAddress(const QString &text, quint32 &addr);
    // The PROG_SPEC_DATA_CMD frame for programmer slot, with the log lines in
    // order; empty when the data do not fit one frame.
    static QByteArray BuildFrame(int slot, quint32 addr, const QByteArray &sn, QStringList &lines);
};

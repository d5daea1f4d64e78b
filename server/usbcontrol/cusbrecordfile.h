#pragma once
// The console's record file "qel720A_server_record.ini": the console settings
// (page, image number, BIN paths, current image) and the pass and fail counts
// of every programmer, with their sums under the key "ALL".
#include <QString>
#include <QtGlobal>

class CUsbRecordFile
{
public:
    static QString FileName() { return QStringLiteral("qel720A_server_record.ini"); }

    struct Config
    {
        int nPage = 0;
        int nImageNo = 0;
        QString strBin[3];
        QString strImageName;
        QString strImageCrc;
    };

    Config LoadConfig() const;
    void SaveConfig(const Config &config) const;

    // Stores one programmer's counts and recomputes both sums.
    void SetCounters(const QString &name, quint64 pass, quint64 fail) const;
    // Sets ALL of both groups to the sum of their other keys.
    void RecomputeAll() const;
    quint64 PassAll() const;
    quint64 FailAll() const;
    quint64 Count(const QString &group, const QString &name) const;
};

#pragma once
// The updater's small rules, apart from any window: names, texts of the
// progress display, the verdict line and when a download counts as good.
#include <QCoreApplication>
#include <QString>

class QUrl;

class CUpdateRules
{
    Q_DECLARE_TR_FUNCTIONS(CUpdateRules)

public:
    // What is known when a transfer has ended.
    struct Transfer
    {
        QString strError;      // network error text, empty when none
        int nStatus = 0;       // HTTP status, 0 when none arrived
        qint64 nAnnounced = -1; // Content-Length, -1 when not announced
        qint64 nReceived = 0;
    };

    // The program's file name: ".exe" of names written on Windows dropped.
    static QString ProgramName(const QString &module);
    static QString UserAgent(const QString &module, const QString &version);
    // The last path segment of url when it is a plain file name, else "QSU_Update.bin".
    static QString FileNameFromUrl(const QUrl &url);
    // Home folder + "/Downloads/", created when missing.
    static QString DownloadFolder();
    // "success$<path>" or "fail$<path>".
    static QString VerdictLine(bool ok, const QString &path);

    static QString SizeText(qint64 bytes);
    // Seconds still to wait at the present rate; -1 when unknown.
    static qint64 SecondsLeft(qint64 received, qint64 total, qint64 elapsedMs);
    // Empty for an unknown time.
    static QString TimeLeftText(qint64 seconds);

    // Whether the file at path is the whole, intact download; else why not.
    static bool CheckDownload(const Transfer &transfer, const QString &path, const QString &expectedMd5,
                              QString &reason);
};

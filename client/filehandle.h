#pragma once
// Files pushed by a server station arrive in chunks; FileHandle joins them
// per file (name and file number) and writes a file once its last chunk is in.
// A reception whose last chunk is more than 60 s old is dropped; the check runs
// every 10 s. The clock can be replaced so the time-out is tested without waiting.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class FileHandle : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kTimeoutSecs = 60;
    static constexpr int kCheckMs = 10000;
    // A pushed file larger than this is refused (a peer cannot fill the memory).
    static constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;

    using Clock = std::function<qint64()>; // seconds since 1970

    static FileHandle *Instance();

    // Adds one chunk; with more false writes the file into folder (the work
    // folder when empty) and reports its path. False on a refused name, an
    // oversized file or a file that cannot be written (err says which); the
    // later chunks of a file refused as too large are false with no err.
    bool addData(const QString &name, int number, const QByteArray &bytes, bool more, QString &path,
                 QString &err, const QString &folder = QString());

    // Drops every reception idle for more than kTimeoutSecs, with a log line each.
    void CheckTimeout();
    int Count() const { return m_list.size(); }

    // Null restores the system clock.
    void SetClock(Clock clock);
    // The size limit of one file (kMaxFileBytes by default).
    void SetMaxBytes(qint64 bytes) { m_nMaxBytes = bytes; }

private:
    FileHandle();

    struct Reception
    {
        QString name;
        int number = 0;
        QByteArray bytes;
        qint64 time = 0;
        bool refused = false; // too large: the rest of it is dropped
    };
    qint64 Now() const;

    QList<Reception> m_list;
    Clock m_clock;
    qint64 m_nMaxBytes = kMaxFileBytes;
    QTimer m_timer;
};

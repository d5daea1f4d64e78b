#pragma once
// Host side of a pull: a programmer file is asked for by path (REQ_FILE_ATTR),
// then frame by frame (REQ_FILE_DATA); further paths wait in the queue.
#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

struct UsbFileData;

class CUsbPull
{
    Q_DECLARE_TR_FUNCTIONS(CUsbPull)

public:
    enum Take {
        TakeOk,         // data holds the frame's bytes
        TakeUnexpected, // not the frame asked for
        TakeShort,      // fewer bytes than the frame must carry
        TakeIdle,       // no pull under way
    };

    // Starts the pull of path, replacing the one under way.
    void Begin(const QString &path);
    // From the REQ_FILE_ATTR answer, taken as it comes: the frames are asked
    // for up to its count, whether or not the count fits the size.
    void SetInfo(quint32 size, quint16 frames);
    // Checks one REQ_FILE_DATA answer against the frame asked for and advances.
    Take Accept(const UsbFileData &answer, QByteArray &data);
    bool IsActive() const { return !m_strPath.isEmpty(); }
    bool IsDone() const { return m_nNext >= m_nFrames; }
    int Percent(int k) const;
    // Data bytes frame k must carry: what is still owed of the size, at most 1024.
    int Want(int k) const;
    // Ends the pull under way; the queue stays.
    void Clear();

    // What the progress line calls the file: "设备数据", "镜像数据", ...
    static QString Label(const QString &path);
    // Name of the local mirror: the last path component; empty for a bare
    // name other than "read_flash_bin", which is not stored.
    static QString LocalName(const QString &path);

    QStringList m_queue;
    QString m_strPath;
    quint32 m_nSize = 0;
    quint16 m_nFrames = 0;
    int m_nNext = 0;
};

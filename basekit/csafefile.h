#pragma once
// Files in folders laid out by someone else: a programmer's disk, a folder of
// the programmer search list, the work folder a peer reads from. Only regular
// files are opened (a FIFO would block open() for good, a device never ends),
// and nothing is read or written through a link that leads out of the folder.
#include "basekit_global.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QFile;

class BASEKIT_EXPORT CSafeFile
{
    Q_DECLARE_TR_FUNCTIONS(CSafeFile)

public:
    // path, every link resolved, is root or lies below it (root resolved too).
    // False when either does not exist.
    static bool IsInside(const QString &root, const QString &path);

    // Opens path read-only when it is a regular file of at most maxSize bytes
    // (negative: any size) and, with a root, inside root by its resolved path.
    static bool OpenRead(QFile &file, const QString &path, const QString &root, QString &err,
                         qint64 maxSize = -1);
    static bool ReadAll(const QString &path, const QString &root, QByteArray &data, QString &err,
                        qint64 maxSize = -1);

    // Writes data under a temporary name in path's folder and renames it over
    // path, so a failed write keeps the old file. The folder is created when
    // missing and must lie inside root by its resolved path; an existing path
    // must be a regular file (never a link, which the rename would replace).
    static bool Write(const QString &path, const QString &root, const QByteArray &data, QString &err);
    // The same with the content of src, which must be a regular file.
    static bool Replace(const QString &src, const QString &dst, const QString &root, QString &err);
};

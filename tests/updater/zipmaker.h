#pragma once
// Real zip files for the updater tests, with any entry name, mode or link.
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>

struct ZipEntry
{
    QString name;
    QByteArray data; // the target, for a link
    bool link = false;
    quint32 mode = 0644;
};
Q_DECLARE_METATYPE(ZipEntry)

inline bool MakeZip(const QString &path, const QList<ZipEntry> &entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const ZipEntry &e : entries) {
        QuaZipNewInfo info(e.name);
        info.externalAttr = (e.link ? 0120777u : (0100000u | e.mode)) << 16;
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, info))
            return false;
        file.write(e.data);
        file.close();
        if (file.getZipError() != 0)
            return false;
    }
    zip.close();
    return zip.getZipError() == 0;
}

// Every file and link under dir with its content (a link shows its target),
// to see that nothing changed.
inline QMap<QString, QByteArray> Snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString rel = QDir(dir).relativeFilePath(info.filePath());
        if (info.isSymLink()) {
            files.insert(rel, "-> " + info.symLinkTarget().toUtf8());
        } else if (info.isDir()) {
            files.insert(rel + QLatin1Char('/'), QByteArray());
        } else {
            QFile f(info.filePath());
            files.insert(rel, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
        }
    }
    return files;
}

inline bool WriteBytes(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

#pragma once
// Puts a release package over a program's folder, all or nothing: the package
// is checked entry by entry, unpacked into "temp" inside the folder, checked
// again on disk, and its files moved into place while every old file is kept
// aside; any failure puts the old files back.
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

class CPackageInstaller
{
    Q_DECLARE_TR_FUNCTIONS(CPackageInstaller)

public:
    using Log = std::function<void(const QString &)>;

    explicit CPackageInstaller(Log log = {});

    // Refuses an archive with an entry that would land outside the folder it is
    // unpacked into ("..", absolute paths, symbolic links), before anything is written.
    static bool CheckPackage(const QString &zip, QString &reason);
    static bool SafeEntryName(const QString &name);

    bool Install(const QString &zip, const QString &programDir, QString &reason);

    // The two halves of Install. Unpack lists the files it wrote, relative to dir.
    bool Unpack(const QString &zip, const QString &dir, QStringList &files, QString &reason);
    bool Replace(const QString &fromDir, const QStringList &files, const QString &toDir, const QString &backupDir,
                 QString &reason);

private:
    void Note(const QString &text) const;
    Log m_log;
};

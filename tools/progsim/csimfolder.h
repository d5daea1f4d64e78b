#pragma once
// The files of a simulated programmer, laid out as on a programmer's disk:
// sys/qelprogrammer.dat, config/ (index, parameters, signals), procs/ (images),
// cmd/, and the firmware "update.bin" at the top.
#include "simidentity.h"

#include "progerinfo.h"

#include <QMap>
#include <QString>
#include <QStringList>

class CSimFolder
{
public:
    // root: the folder, with or without a trailing "/".
    explicit CSimFolder(const QString &root = QString());

    QString Root() const { return m_strRoot; }
    QString Path(const QString &relative) const { return m_strRoot + relative; }
    QString IdentityPath() const { return Path(QStringLiteral("sys/qelprogrammer.dat")); }
    QString IndexPath() const { return Path(QStringLiteral("config/image.dat")); }
    QString ProcDir() const { return Path(QStringLiteral("procs/")); }

    // Makes the sub-folders, writes the identity file and, where missing, the
    // default parameters, signals and an empty image index.
    bool Prepare(const SimIdentity &identity, QString &err) const;
    // Writes the identity file unless it already holds exactly this identity.
    bool WriteIdentity(const SimIdentity &identity) const;

    // Where a file the host pushes by name is kept; empty for a file a
    // programmer does not take (its identity, unknown kinds).
    QString PushPath(const QString &name) const;

    // Read with the suite's own readers (BurnHub, pointed at this folder).
    bool ReadIndex(QMap<int, ImageInfo> &index, QString &err) const;
    // "key=value key=value ..." of param.ini or signal.ini; false when unreadable.
    bool ParamText(QString &text, QString &err) const;
    bool SignalText(QString &text, QString &err) const;

    // "sys/", "config/", "procs/", "cmd/".
    static QStringList SubFolders();
    // Files of a programmer fresh from the factory.
    static QString DefaultParam();
    static QString DefaultSignal();

private:
    QString m_strRoot;
};

#pragma once
// INI settings by group, key and file name. The files live in "ini/" under either
// the data folder or the per-user folder, chosen at construction.
#include "basekit_global.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

class BASEKIT_EXPORT CPubActions
{
public:
    // qelDir true: data folder (FuncTool::GetQELDir); false: per-user folder.
    explicit CPubActions(bool qelDir = true);
    ~CPubActions();
    // A copy shares the open settings object until either side opens another file.
    CPubActions(const CPubActions &other);
    CPubActions &operator=(const CPubActions &other);

    int GetInt(const QString &group, const QString &key, int def, const QString &file);
    // A value stored as a list comes back joined with ",".
    QString GetString(const QString &group, const QString &key, const QString &def, const QString &file);
    QStringList GetStringList(const QString &group, const QString &key, const QStringList &def,
                              const QString &file);

    bool WriteInt(const QString &group, const QString &key, int value, const QString &file);
    bool WriteString(const QString &group, const QString &key, const QString &value, const QString &file);
    bool WriteStringList(const QString &group, const QString &key, const QStringList &value,
                         const QString &file);

    QStringList GetKeys(const QString &group, const QString &file);
    bool DeleteGroup(const QString &group, const QString &file);
    bool DeleteItem(const QString &group, const QString &key, const QString &file);
    // Invalid when the file does not exist.
    QDateTime GetLastModify(const QString &file);

    // Full path of an INI file of this object's folder (the folder is created).
    QString IniPath(const QString &file) const;

private:
    QSettings *Open(const QString &file);
    bool Store(QSettings *settings);

    bool m_bQelDir;
    std::shared_ptr<QSettings> m_pSettings;
};

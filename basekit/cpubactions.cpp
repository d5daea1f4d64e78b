#include "cpubactions.h"

#include "functool.h"

#include <QFileInfo>
#include <QSettings>

namespace {
QString itemKey(const QString &group, const QString &key)
{
    return QStringLiteral("%1/%2").arg(group, key);
}
} // namespace

CPubActions::CPubActions(bool qelDir) : m_bQelDir(qelDir) {}

CPubActions::~CPubActions() = default;
CPubActions::CPubActions(const CPubActions &other) = default;
CPubActions &CPubActions::operator=(const CPubActions &other) = default;

QString CPubActions::IniPath(const QString &file) const
{
    const QString dir = (m_bQelDir ? FuncTool::GetQELDir() : FuncTool::GetAppDataDir()) + QStringLiteral("ini/");
    FuncTool::CheckFileDir(dir);
    return dir + file;
}

QSettings *CPubActions::Open(const QString &file)
{
    const QString path = IniPath(file);
    if (!m_pSettings || m_pSettings->fileName() != path) {
        m_pSettings = std::make_shared<QSettings>(path, QSettings::IniFormat);
        m_pSettings->setIniCodec("UTF-8");
    }
    return m_pSettings.get();
}

bool CPubActions::Store(QSettings *settings)
{
    settings->sync();
    return settings->status() == QSettings::NoError;
}

int CPubActions::GetInt(const QString &group, const QString &key, int def, const QString &file)
{
    const QVariant v = Open(file)->value(itemKey(group, key));
    bool ok = false;
    const int n = v.toInt(&ok);
    // A hand-edited value that is not a number falls back to the default.
    return ok ? n : def;
}

QString CPubActions::GetString(const QString &group, const QString &key, const QString &def, const QString &file)
{
    const QVariant v = Open(file)->value(itemKey(group, key), def);
    if (v.type() == QVariant::StringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

QStringList CPubActions::GetStringList(const QString &group, const QString &key, const QStringList &def,
                                       const QString &file)
{
    return Open(file)->value(itemKey(group, key), def).toStringList();
}

bool CPubActions::WriteInt(const QString &group, const QString &key, int value, const QString &file)
{
    QSettings *s = Open(file);
    s->setValue(itemKey(group, key), value);
    return Store(s);
}

bool CPubActions::WriteString(const QString &group, const QString &key, const QString &value, const QString &file)
{
    QSettings *s = Open(file);
    s->setValue(itemKey(group, key), value);
    return Store(s);
}

bool CPubActions::WriteStringList(const QString &group, const QString &key, const QStringList &value,
                                  const QString &file)
{
    QSettings *s = Open(file);
    s->setValue(itemKey(group, key), value);
    return Store(s);
}

QStringList CPubActions::GetKeys(const QString &group, const QString &file)
{
    QSettings *s = Open(file);
    s->beginGroup(group);
    const QStringList keys = s->childKeys();
    s->endGroup();
    return keys;
}

bool CPubActions::DeleteGroup(const QString &group, const QString &file)
{
    // QSettings reads an empty group as "everything".
    if (group.isEmpty())
        return false;
    QSettings *s = Open(file);
    s->remove(group);
    return Store(s);
}

bool CPubActions::DeleteItem(const QString &group, const QString &key, const QString &file)
{
    if (key.isEmpty())
        return false;
    QSettings *s = Open(file);
    s->remove(itemKey(group, key));
    return Store(s);
}

QDateTime CPubActions::GetLastModify(const QString &file)
{
    const QFileInfo info(IniPath(file));
    return info.exists() ? info.lastModified() : QDateTime();
}

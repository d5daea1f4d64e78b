#include "cofflinerecord.h"

#include "cfilename.h"
#include "cofflinecode.h"
#include "cpeerjson.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

bool COfflineRecord::Parse(const QByteArray &sealed, QList<Entry> &entries)
{
    entries.clear();
    QByteArray plain;
    if (sealed.size() > kMaxRecordBytes || !COfflineCode::Open(sealed.trimmed(), plain))
        return false;
    QJsonArray list;
    if (!CPeerJson::ParseArray(plain, list))
        return false;
    for (const QJsonValue &value : qAsConst(list)) {
        const QJsonObject o = value.toObject();
        Entry e;
        e.name = o.value(QStringLiteral("name")).toString();
        if (!CFileName::IsPlain(e.name))
            continue;
        e.get = o.value(QStringLiteral("get")).toInt();
        e.max = o.value(QStringLiteral("max")).toInt();
        e.history = o.value(QStringLiteral("history")).toInt();
        // A deadline no time can hold counts as none (no limit).
        const double deadline = o.value(QStringLiteral("deadline")).toDouble();
        e.deadline = deadline > 0 && deadline < 9.0e15 ? qint64(deadline) : 0;
        entries << e;
    }
    return true;
}

void COfflineRecord::Apply(const QList<Entry> &entries, QList<qelmsg::OiiItem> &images)
{
    for (const Entry &e : entries) {
        for (qelmsg::OiiItem &image : images) {
            if (image.name != e.name)
                continue;
            image.history = e.history;
            image.get = e.get;
            image.max = e.max;
            image.deadline = e.deadline;
        }
    }
}

QString COfflineRecord::TimeText(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd hh::mm"));
}

QString COfflineRecord::InfoText(const qelmsg::OiiItem &image)
{
    const QString deadline = image.deadline == 0 ? QCoreApplication::translate("uploaderlogindlg", "无限制") : TimeText(image.deadline);
    // One multi-argument call: a "%2" in a name stays as it is.
    return QCoreApplication::translate("uploaderlogindlg", "镜像名称:%1\n上传时间:%2\n文件大小(字节):%3\n历史获取次数:%4\n已经获取/最大获取数:%5/%6\n截止获取时间:%7")
        .arg(image.name, TimeText(image.lastModi), QString::number(image.size), QString::number(image.history),
             QString::number(image.get), QString::number(image.max), deadline);
}

QString COfflineRecord::LimitText(int days, int count)
{
    QString text;
    if (days != 0)
        text += QCoreApplication::translate("uploaderlogindlg", "%1天内有效    ").arg(days);
    if (count != 0)
        text += QCoreApplication::translate("uploaderlogindlg", "最大可获取%1次").arg(count);
    return text;
}

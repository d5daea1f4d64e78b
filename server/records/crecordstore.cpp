#include "crecordstore.h"

#include "csqlscript.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

const QString CRecordStore::kExFactory = QStringLiteral("ExFactory");
const QString CRecordStore::kRepair = QStringLiteral("Repair");
const QString CRecordStore::kFileName = QStringLiteral("qelprogrammer.db");
const QString CRecordStore::kPassed = QStringLiteral("通过测试");
const QString CRecordStore::kSecondPass = QStringLiteral("二测通过");
const QString CRecordStore::kNull = QStringLiteral("NULL");

namespace {

// Table names are ours, never a user's: only the two known ones are used.
bool KnownTable(const QString &table)
{
    return table == CRecordStore::kExFactory || table == CRecordStore::kRepair;
}

bool Run(QSqlQuery &query, QString &err)
{
    if (query.exec())
        return true;
    err = query.lastError().text();
    return false;
}

} // namespace

QString ExFactoryStats::PassRate() const
{
    const double first = double(total - failures) / total * 100.0;
    const double second = double(total - failures - secondPasses) / total * 100.0;
    return QStringLiteral("%1%(%2%)").arg(first, 0, 'f', 2).arg(second, 0, 'f', 2);
}

ExFactoryStats ExFactoryStats::FromResults(const QStringList &results)
{
    ExFactoryStats stats;
    stats.total = results.size() + 1;
    for (const QString &result : results) {
        if (result == CRecordStore::kPassed)
            continue;
        if (result == CRecordStore::kSecondPass)
            ++stats.secondPasses;
        else
            ++stats.failures;
    }
    return stats;
}

CRecordStore::CRecordStore(const QString &path, const QString &connection)
    : m_strPath(path), m_strConnection(connection)
{
}

CRecordStore::~CRecordStore()
{
    if (QSqlDatabase::contains(m_strConnection)) {
        QSqlDatabase::database(m_strConnection, false).close();
        QSqlDatabase::removeDatabase(m_strConnection);
    }
}

bool CRecordStore::Open(QString &err)
{
    QDir().mkpath(QFileInfo(m_strPath).absolutePath());
    QSqlDatabase db = QSqlDatabase::contains(m_strConnection)
                          ? QSqlDatabase::database(m_strConnection, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strConnection);
    db.setDatabaseName(m_strPath);
    if (db.isOpen() || db.open())
        return true;
    err = db.lastError().text();
    return false;
}

QSqlDatabase CRecordStore::Database() const
{
    return QSqlDatabase::database(m_strConnection, false);
}

bool CRecordStore::LoadSqlText(const QString &text, QString &err)
{
    QSqlDatabase db = Database();
    return CSqlScript::Load(db, text, err);
}

int CRecordStore::RowCount(const QString &table) const
{
    if (!KnownTable(table))
        return 0;
    QSqlQuery query(Database());
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) && query.next() ? query.value(0).toInt() : 0;
}

std::optional<int> CRecordStore::FindUid(const QString &table, const QString &uid) const
{
    if (!KnownTable(table))
        return std::nullopt;
    QSqlQuery query(Database());
    query.prepare(QStringLiteral("SELECT ID FROM %1 WHERE UID = ?").arg(table));
    query.addBindValue(uid);
    if (query.exec() && query.next())
        return query.value(0).toInt();
    return std::nullopt;
}

QList<int> CRecordStore::FindByCondition(const QString &result, const QString &reason) const
{
    QSqlQuery query(Database());
    if (reason == kNull) {
        query.prepare(QStringLiteral("SELECT ID FROM ExFactory WHERE Result = ?"));
        query.addBindValue(result);
    } else {
        query.prepare(QStringLiteral("SELECT ID FROM ExFactory WHERE Result = ? AND FailReason = ?"));
        query.addBindValue(result);
        query.addBindValue(reason);
    }
    QList<int> ids;
    if (query.exec()) {
        while (query.next())
            ids << query.value(0).toInt();
    }
    return ids;
}

ExFactoryStats CRecordStore::Stats() const
{
    QSqlQuery query(Database());
    QStringList results;
    if (query.exec(QStringLiteral("SELECT Result FROM ExFactory"))) {
        while (query.next())
            results << query.value(0).toString();
    }
    return ExFactoryStats::FromResults(results);
}

bool CRecordStore::SaveExFactory(const ProgrammerRecord &r, QString &err)
{
    QSqlQuery query(Database());
    if (FindUid(kExFactory, r.uid)) {
        query.prepare(QStringLiteral("UPDATE ExFactory SET DateTime = ?, Result = ? WHERE UID = ?"));
        for (const QString &v : {r.dateTime, r.result, r.uid})
            query.addBindValue(v);
    } else {
        query.prepare(QStringLiteral(
            "INSERT INTO ExFactory(ID,UID,DateTime,Model,Result,FailReason) VALUES(?,?,?,?,?,?)"));
        query.addBindValue(r.id);
        for (const QString &v : {r.uid, r.dateTime, r.model, r.result, r.failReason})
            query.addBindValue(v);
    }
    return Run(query, err);
}

bool CRecordStore::SaveRepair(const qelmsg::RepairRecord &r, const QString &dateTime, QString &err)
{
    QSqlQuery query(Database());
    const QStringList fields{r.model, r.hwVer, r.abstract, r.source, r.staff, r.analysis, r.content, r.resultRepair};
    if (FindUid(kRepair, r.uid)) {
        query.prepare(QStringLiteral(
            "UPDATE Repair SET DateTime = ?, Model = ?, HWVer = ?, Abstract = ?, Source = ?, Staff = ?, "
            "Analysis = ?, Content = ?, ResultRepair = ? WHERE UID = ?"));
        query.addBindValue(dateTime);
        for (const QString &v : fields)
            query.addBindValue(v);
        query.addBindValue(r.uid);
    } else {
        query.prepare(QStringLiteral(
            "INSERT INTO Repair(ID,DateTime,UID,Model,HWVer,Abstract,Source,Staff,Analysis,Content,ResultRepair) "
            "VALUES(?,?,?,?,?,?,?,?,?,?,?)"));
        query.addBindValue(r.id);
        query.addBindValue(dateTime);
        query.addBindValue(r.uid);
        for (const QString &v : fields)
            query.addBindValue(v);
    }
    return Run(query, err);
}

bool CRecordStore::IsComplete(const qelmsg::RepairRecord &r)
{
    return !r.uid.trimmed().isEmpty() && !r.abstract.trimmed().isEmpty() && !r.source.trimmed().isEmpty()
           && !r.staff.trimmed().isEmpty();
}

#pragma once
// The local record database "qelprogrammer.db": factory tests (ExFactory) and
// repair records (Repair), mirrored from the cloud service. Every value of
// ours is bound, so any text a user types is stored as typed.
#include "messages.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// A factory-test row, as searched and stored.
struct ProgrammerRecord
{
    int id = 0;
    QString uid;
    QString dateTime;
    QString model;
    QString result;
    QString failReason;
};

// Counters of the factory-test table.
struct ExFactoryStats
{
    int total = 1;          // rows + 1
    int failures = 0;       // neither passed nor passed at the second test
    int secondPasses = 0;   // "二测通过"
    // "first(second)", e.g. "100.00%(100.00%)".
    QString PassRate() const;
    static ExFactoryStats FromResults(const QStringList &results);
};

class CRecordStore
{
public:
    static const QString kExFactory;
    static const QString kRepair;
    static const QString kFileName;   // "qelprogrammer.db"
    static const QString kPassed;     // "通过测试"
    static const QString kSecondPass; // "二测通过"
    static const QString kNull;       // "NULL"

    // Opens (and creates) path on the named connection.
    explicit CRecordStore(const QString &path,
                          const QString &connection = QLatin1String(QSqlDatabase::defaultConnection));
    ~CRecordStore();
    CRecordStore(const CRecordStore &) = delete;
    CRecordStore &operator=(const CRecordStore &) = delete;

    bool Open(QString &err);
    QSqlDatabase Database() const;

    // SQL text of the service replacing a table; the old table stays on failure.
    bool LoadSqlText(const QString &text, QString &err);
    int RowCount(const QString &table) const;
    // ID of the row of that programmer, none when it has no row.
    std::optional<int> FindUid(const QString &table, const QString &uid) const;
    // IDs of the factory tests with that result and, unless it is "NULL", that reason.
    QList<int> FindByCondition(const QString &result, const QString &reason) const;
    ExFactoryStats Stats() const;

    // A new programmer gets a row; a known one its new time and result.
    bool SaveExFactory(const ProgrammerRecord &record, QString &err);
    // A new programmer gets a row; a known one all its repair fields.
    bool SaveRepair(const qelmsg::RepairRecord &record, const QString &dateTime, QString &err);
    // Serial number, abstract, source and staff are required.
    static bool IsComplete(const qelmsg::RepairRecord &record);

private:
    QString m_strPath;
    QString m_strConnection;
};

#pragma once
// The programmers the server lists, in the order of the rows, with their
// ticks. The list owns the programmer objects; the window's rows point at them.
#include "myproger.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <memory>
#include <vector>

class CProgerList
{
public:
    // Appended at the end, unticked.
    MyProger *Append(const MyProger &proger);
    // Deletes the programmer; false when it is not in the list.
    bool Remove(const MyProger *proger);

    int Count() const { return int(m_rows.size()); }
    MyProger *At(int row) const;
    int IndexOf(const MyProger *proger) const;

    void SetChecked(const MyProger *proger, bool checked);
    bool IsChecked(const MyProger *proger) const;
    // The selected programmer: the first ticked row from the top, or null.
    MyProger *Selected() const;

    QList<MyProger *> Disks() const;

    // The disk programmers found now against the rows: which came, which went,
    // and which stay (matched by root and ID, so their ticks stay too).
    struct DiskChanges
    {
        QList<ProgerInfo> came;
        QList<MyProger *> gone;
        QList<QPair<MyProger *, ProgerInfo>> kept;
    };
    DiskChanges CompareDisks(const QList<ProgerInfo> &found) const;
    MyProger *FindRemote(const MyProger &key) const;

    // Disk programmers of these models are listed.
    static bool IsListedModel(const QString &model);
    // Programmers of these models get the automatic firmware check.
    static bool NeedsFirmCheck(const QString &model);

private:
    struct Row
    {
        std::unique_ptr<MyProger> proger;
        bool checked = false;
    };
    std::vector<Row> m_rows;
};

// The automatic firmware check tips once per programmer and firmware version,
// not at every device event.
class CFirmCheckMemo
{
public:
    // True the first time this ID and version are seen.
    bool FirstTime(const QString &id, const QString &version);

private:
    QSet<QString> m_seen;
};

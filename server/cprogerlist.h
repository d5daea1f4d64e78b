#pragma once
// The programmers the server lists, in the order of the rows, with their
// ticks. The list owns the programmer objects; the window's rows point at them.
#include "myproger.h"

#include <QList>
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

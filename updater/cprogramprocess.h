#pragma once
// The running copies of one program file, among this user's processes only:
// a process counts when its executable is exactly that file.
#include <QList>
#include <QString>

class CProgramProcess
{
public:
    static QList<qint64> Find(const QString &programPath);
    // Asks every copy to end, and kills those still there after waitMs.
    // True when none is left.
    static bool Close(const QString &programPath, int waitMs);
    static bool Start(const QString &programPath);
};

#pragma once
// Picks the subcommand from the first argument, parses its options and runs it.
#include "ccommand.h"

#include <QStringList>

#include <memory>
#include <vector>

class CCommandDispatch
{
public:
    void Add(std::unique_ptr<CCommand> command);
    // args as QCoreApplication::arguments() gives them; returns the exit status.
    int Run(const QStringList &args);

    // The overview: commands and exit statuses.
    QString Overview() const;
    static QString ExitStatusText();

private:
    CCommand *Find(const QString &name) const;

    std::vector<std::unique_ptr<CCommand>> m_commands;
};

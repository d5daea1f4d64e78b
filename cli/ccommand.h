#pragma once
// One qelctl subcommand: its options, its help and its run.
#include "ccliout.h"

#include <QCommandLineParser>
#include <QString>

class CCommand
{
public:
    virtual ~CCommand() = default;
    virtual QString Name() const = 0;
    virtual QString Summary() const = 0;
    // Positional arguments and options beyond --help and --json.
    virtual void Setup(QCommandLineParser &parser) = 0;
    // An exit status of CliExit.
    virtual int Run(const QCommandLineParser &parser, const CCliOut &out) = 0;
};

#pragma once
// qelctl config get|set: a programmer's parameters ("param.ini"), read, and
// changed key by key then sent back the way the server sends them.
// qelctl password: the user password that unlocks a programmer.
#include "ccommand.h"

class CConfigGetCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("config get"); }
    QString Summary() const override { return QStringLiteral("Show the parameters of programmers."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

class CConfigSetCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("config set"); }
    QString Summary() const override { return QStringLiteral("Change parameters (KEY=VALUE...) of programmers."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

class CPasswordCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("password"); }
    QString Summary() const override { return QStringLiteral("Set the user password of programmers (0 removes it)."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

#pragma once
// qelctl start: programs the targets of HID and VCP programmers and waits for
// every result. qelctl counters: their pass and fail counters.
#include "ccommand.h"

class CStartCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("start"); }
    QString Summary() const override { return QStringLiteral("Start programming and wait for every result."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

class CCountersCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("counters"); }
    QString Summary() const override { return QStringLiteral("Read the pass and fail counters of HID and VCP programmers."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

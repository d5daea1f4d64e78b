#pragma once
// qelctl list: the programmers this PC reaches, through the server's discovery
// (mounted volumes and the programmer search list; VCP ports and their extra list).
#include "ccommand.h"

class CListCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("list"); }
    QString Summary() const override { return QStringLiteral("List the programmers this PC reaches."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

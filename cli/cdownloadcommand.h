#pragma once
// qelctl download: one image under a number to several programmers at once,
// by the file set on disk programmers and by the control frames on USB ones.
#include "ccommand.h"

class CDownloadCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("download"); }
    QString Summary() const override { return QStringLiteral("Download an image under a number to programmers."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

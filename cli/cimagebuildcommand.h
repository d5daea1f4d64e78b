#pragma once
// qelctl image build: an image from programs at addresses, on the image
// panel's builder (merge, trailer, encryption bound to one ID).
#include "ccommand.h"

class CImageBuildCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("image build"); }
    QString Summary() const override { return QStringLiteral("Build an image file from BIN and HEX programs."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

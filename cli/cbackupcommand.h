#pragma once
// qelctl backup / restore: every image of one programmer in an image package
// (".pimg"), and such a package written back to a programmer, re-keying the
// encrypted images for it.
#include "ccommand.h"

class CBackupCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("backup"); }
    QString Summary() const override { return QStringLiteral("Save every image of a programmer in a .pimg package."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

class CRestoreCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("restore"); }
    QString Summary() const override { return QStringLiteral("Write the images of a .pimg package to a programmer."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};

#pragma once
// qelctl hex2bin / bin2hex: the suite's HEX converter from the command line.
#include "ccommand.h"

class CConvCommand : public CCommand
{
public:
    enum Direction { HexToBin, BinToHex };
    explicit CConvCommand(Direction dir) : m_dir(dir) {}

    QString Name() const override;
    QString Summary() const override;
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;

private:
    Direction m_dir;
};

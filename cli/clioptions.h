#pragma once
// Options that several subcommands share, read in one place.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

namespace CliOptions {
QCommandLineOption Timeout(int defaultSeconds);
// Seconds of --timeout in milliseconds; false with the reason for a bad value.
bool TimeoutMs(const QCommandLineParser &parser, int &ms, QString &err);
} // namespace CliOptions

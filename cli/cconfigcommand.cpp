#include "cconfigcommand.h"

#include "cliexit.h"
#include "clioptions.h"
#include "cprogrammers.h"

#include <burnhub.h>
#include <cpasswordrule.h>
#include <functool.h>
#include <progerparam.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
int Usage(const QString &reason)
{
    CCliOut::Error(reason);
    return CliExit::Usage;
}

// Points the hub at the programmer's files: its disk, or its PC-side folder.
void UseFiles(const CCliTarget &t)
{
    BurnHub *hub = BurnHub::Instance();
    if (t.bUsb)
        hub->SetUSBProgUID(t.pDev->FolderId());
    else
        hub->SetProgRoot(t.info.m_strRoot);
}

// Common start of the commands that change programmers: the timeout, the
// discovery and the choice of --to. An exit status ends the command; -1 goes on.
int Choose(const QCommandLineParser &parser, CCliProgrammers &progs, QVector<CCliTarget> &targets, int &timeoutMs)
{
    QString err;
    if (!CliOptions::TimeoutMs(parser, timeoutMs, err))
        return Usage(err);
    if (!parser.isSet(QStringLiteral("to")))
        return Usage(QStringLiteral("--to ID[,ID...] or --to all names the programmers"));
    return progs.Reach(parser.value(QStringLiteral("to")), timeoutMs, targets);
}

// Sends target i the file pathOf(i) (disk: copy, with diskCopy; USB: the
// control frames) and waits for the programmers to verify it.
int SendToAll(CCliProgrammers &progs, QVector<CCliTarget> &targets, const std::function<QString(int i)> &pathOf,
              int timeoutMs, const std::function<bool(const QString &path, QString &err)> &diskCopy,
              const CCliOut &out, const QString &what)
{
    for (int i = 0; i < targets.size(); ++i) {
        CCliTarget &t = targets[i];
        if (t.LinkFailed())
            continue;
        if (t.bUsb) {
            progs.Usb().SendFile(*t.pDev, pathOf(i), -1);
            continue;
        }
        UseFiles(t);
        QString err;
        t.bOk = diskCopy(pathOf(i), err);
        t.bDone = true;
        t.strReason = err;
    }
    progs.Usb().Wait(timeoutMs);
    QJsonArray rows;
    for (const CCliTarget &t : qAsConst(targets)) {
        rows.append(CliJobs::ResultRow(t));
        out.Line(CliJobs::ResultLine(t));
    }
    out.Document({{what, rows}});
    return CliJobs::Status(targets);
}

// "key=value" lines with their endings, for changes that keep the file's layout.
bool SetValue(QString &text, const QString &key, const QString &value)
{
    const QRegularExpression line(QStringLiteral("(^|\\n)(%1)=([^\\r\\n]*)").arg(QRegularExpression::escape(key)));
    const QRegularExpressionMatch m = line.match(text);
    if (!m.hasMatch())
        return false;
    text.replace(m.capturedStart(3), m.capturedLength(3), value);
    return true;
}
} // namespace

// ---- config get

void CConfigGetCommand::Setup(QCommandLineParser &parser)
{
    parser.addOption(CCliProgrammers::ToOption());
    parser.addOption(CliOptions::Timeout(10));
}

int CConfigGetCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    CCliProgrammers progs;
    QVector<CCliTarget> targets;
    int timeoutMs = 0;
    const int early = Choose(parser, progs, targets, timeoutMs);
    if (early >= 0)
        return early;
    QJsonArray rows;
    int status = CliExit::Ok;
    for (const CCliTarget &t : qAsConst(targets)) {
        if (t.LinkFailed()) {
            CCliOut::Error(t.Reason());
            status = CliExit::NoLink;
            continue;
        }
        UseFiles(t);
        QMap<QString, QString> config;
        QString err;
        if (!BurnHub::Instance()->ReadConfig(config, err)) {
            CCliOut::Error(QStringLiteral("%1: %2").arg(t.Label(), err));
            status = CliExit::NoLink;
            continue;
        }
        QJsonObject values;
        for (auto it = config.cbegin(); it != config.cend(); ++it) {
            values[it.key()] = it.value();
            out.Line(targets.size() > 1 ? QStringLiteral("%1 %2=%3").arg(t.Label(), it.key(), it.value())
                                        : QStringLiteral("%1=%2").arg(it.key(), it.value()));
        }
        rows.append(QJsonObject{{QStringLiteral("id"), t.Label()}, {QStringLiteral("config"), values}});
    }
    out.Document({{QStringLiteral("programmers"), rows}});
    return status;
}

// ---- config set

void CConfigSetCommand::Setup(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("KEY=VALUE"), QStringLiteral("Parameters to change."), QStringLiteral("KEY=VALUE..."));
    parser.addOption(CCliProgrammers::ToOption());
    parser.addOption(CliOptions::Timeout(30));
}

int CConfigSetCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    QList<QPair<QString, QString>> changes;
    for (const QString &arg : parser.positionalArguments()) {
        const int eq = arg.indexOf(QLatin1Char('='));
        const QString key = arg.left(eq);
        const QString value = arg.mid(eq + 1);
        static const QRegularExpression keyForm(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
        if (eq <= 0 || !keyForm.match(key).hasMatch())
            return Usage(QStringLiteral("config set: \"%1\" is not KEY=VALUE").arg(arg));
        bool number = false;
        value.toLongLong(&number, 10);
        // Every value is a decimal number but the name of the automatic image.
        if (key == QLatin1String("autoimage") ? (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
                                              : !number)
            return Usage(QStringLiteral("config set: %1 needs a decimal number, got \"%2\"").arg(key, value));
        changes.append({key, value});
    }
    if (changes.isEmpty())
        return Usage(QStringLiteral("config set needs KEY=VALUE"));

    CCliProgrammers progs;
    QVector<CCliTarget> targets;
    int timeoutMs = 0;
    const int early = Choose(parser, progs, targets, timeoutMs);
    if (early >= 0)
        return early;
    // One new file per programmer: each keeps its own other values.
    QTemporaryDir work;
    if (!work.isValid())
        return Usage(QStringLiteral("no temporary folder"));
    QMap<int, QString> files;
    for (int i = 0; i < targets.size(); ++i) {
        const CCliTarget &t = targets[i];
        if (t.LinkFailed())
            continue;
        UseFiles(t);
        qint64 size = 0;
        QByteArray data;
        if (!BurnHub::Instance()->ReadFileData(QStringLiteral("param.ini"), size, data)) {
            CCliOut::Error(QStringLiteral("%1: its parameter file cannot be read").arg(t.Label()));
            return CliExit::NoLink;
        }
        QString text = QString::fromLocal8Bit(data);
        for (const auto &change : qAsConst(changes))
            if (!SetValue(text, change.first, change.second))
                return Usage(QStringLiteral("%1: \"%2\" is not one of its parameters").arg(t.Label(), change.first));
        QMap<QString, QString> values;
        for (const QString &line : text.split(QLatin1Char('\n'))) {
            const QStringList parts = line.trimmed().split(QLatin1Char('='));
            if (parts.size() >= 2)
                values[parts[0]] = parts[1];
        }
        ProgerConfig cfg;
        cfg.continuous = values.value(QStringLiteral("continuous")).toInt() != 0;
        cfg.reset = values.value(QStringLiteral("reset")).toInt() != 0;
        cfg.usbmode = values.value(QStringLiteral("usbmode")).toInt();
        const QString conflicts = CProgerParam::CheckLegal(cfg).trimmed();
        if (!conflicts.isEmpty())
            return Usage(QStringLiteral("%1: %2").arg(t.Label(), conflicts));
        const QString dir = work.filePath(QString::number(i));
        const QString path = dir + QStringLiteral("/param.ini");
        if (!FuncTool::WriteFile(path, text.toLocal8Bit()))
            return Usage(QStringLiteral("cannot write %1").arg(path));
        files[i] = path;
    }

    return SendToAll(progs, targets, [&files](int i) { return files.value(i); }, timeoutMs,
                     [](const QString &path, QString &err) { return BurnHub::Instance()->DownConfigFile(path, err); },
                     out, QStringLiteral("programmers"));
}

// ---- password

void CPasswordCommand::Setup(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("password"), QStringLiteral("1 to 9 digits; 0 removes the password."));
    parser.addOption(CCliProgrammers::ToOption());
    parser.addOption(CliOptions::Timeout(30));
}

int CPasswordCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return Usage(QStringLiteral("password needs the password"));
    QString rule;
    if (!CPasswordRule::Check(args[0], rule))
        return Usage(QStringLiteral("password: %1").arg(rule));
    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("password.dat"));
    if (!work.isValid() || !FuncTool::WriteFile(path, args[0].toLatin1()))
        return Usage(QStringLiteral("cannot write %1").arg(path));

    CCliProgrammers progs;
    QVector<CCliTarget> targets;
    int timeoutMs = 0;
    const int early = Choose(parser, progs, targets, timeoutMs);
    if (early >= 0)
        return early;
    return SendToAll(progs, targets, [&path](int) { return path; }, timeoutMs,
                     [](const QString &file, QString &err) { return BurnHub::Instance()->DownPasswordFile(file, err); },
                     out, QStringLiteral("programmers"));
}

#include "ccommanddispatch.h"

#include "cliexit.h"

#include <QRegularExpression>

#include <cstdio>

namespace {
void PrintOut(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}
} // namespace

void CCommandDispatch::Add(std::unique_ptr<CCommand> command)
{
    m_commands.push_back(std::move(command));
}

CCommand *CCommandDispatch::Find(const QString &name) const
{
    for (const auto &c : m_commands)
        if (c->Name() == name)
            return c.get();
    return nullptr;
}

QString CCommandDispatch::ExitStatusText()
{
    return QStringLiteral("Exit status:\n"
                          "  0  success\n"
                          "  1  some programmer failed\n"
                          "  2  bad usage or input\n"
                          "  3  no programmer found, or a link failure\n");
}

QString CCommandDispatch::Overview() const
{
    QString text = QStringLiteral("Usage: qelctl <command> [options]\n\n"
                                  "The programmer suite's work from the command line.\n\n"
                                  "Commands:\n");
    for (const auto &c : m_commands)
        text += QStringLiteral("  %1 %2\n").arg(c->Name(), -12).arg(c->Summary());
    text += QStringLiteral("\n'qelctl <command> --help' describes a command.\n\n") + ExitStatusText();
    return text;
}

int CCommandDispatch::Run(const QStringList &args)
{
    // Two-word commands ("image info") first.
    QString name = args.value(1);
    int words = 1;
    if (Find(name + QLatin1Char(' ') + args.value(2))) {
        name += QLatin1Char(' ') + args.value(2);
        words = 2;
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        PrintOut(Overview());
        return CliExit::Ok;
    }
    if (name.isEmpty()) {
        CCliOut::Error(QStringLiteral("no command given; 'qelctl --help' lists them"));
        return CliExit::Usage;
    }
    CCommand *command = Find(name);
    if (!command) {
        // "config" alone: name the second words it takes.
        QStringList subs;
        for (const auto &c : m_commands)
            if (c->Name().startsWith(name + QLatin1Char(' ')))
                subs << c->Name().mid(name.size() + 1);
        if (!subs.isEmpty()) {
            CCliOut::Error(QStringLiteral("%1 needs one of: %2").arg(name, subs.join(QStringLiteral(", "))));
            return CliExit::Usage;
        }
        CCliOut::Error(QStringLiteral("unknown command \"%1\"; 'qelctl --help' lists them").arg(name));
        return CliExit::Usage;
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(command->Summary());
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print one JSON document for scripts."));
    parser.addOption(help);
    parser.addOption(json);
    command->Setup(parser);

    QStringList rest = args;
    rest.erase(rest.begin() + 1, rest.begin() + 1 + words);
    if (!parser.parse(rest)) {
        CCliOut::Error(QStringLiteral("%1: %2").arg(name, parser.errorText()));
        return CliExit::Usage;
    }
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")), QStringLiteral("Usage: qelctl ") + name);
        PrintOut(text + QLatin1Char('\n') + ExitStatusText());
        return CliExit::Ok;
    }
    return command->Run(parser, CCliOut(parser.isSet(json)));
}

#pragma once
// A simulated programmer (tools/progsim) run by a test.
#include "toolprocess.h"

#include <QRegularExpression>

class ProgSim : public ToolProcess
{
public:
    ProgSim(const QString &folder, const QString &id, const QString &model, const QString &ver = QStringLiteral("V2.1.5"))
        : ToolProcess(QStringLiteral("progsim"),
                      {QStringLiteral("--disk"), folder, QStringLiteral("--id"), id, QStringLiteral("--model"), model,
                       QStringLiteral("--ver"), ver}),
          m_strFolder(folder)
    {
    }
    // Any mode, e.g. {"--vcp", "--id", id, "--result", "0xE3"}.
    explicit ProgSim(const QStringList &args) : ToolProcess(QStringLiteral("progsim"), args) {}

    // True once the simulator has made its folder and said so.
    bool WaitReady() { return WaitFor(QStringLiteral(": ready")); }
    bool WaitFor(const QString &text, int ms = 20000) { return ToolProcess::WaitFor(text, 1, ms); }
    // VCP mode: the port the simulator opened (its link when it made one).
    QString PortPath()
    {
        static const QRegularExpression re(QStringLiteral(": port (\\S+)(?: linked as (\\S+))?"));
        const QRegularExpressionMatch m = re.match(Output());
        return m.captured(2).isEmpty() ? m.captured(1) : m.captured(2);
    }
    QString Folder() const { return m_strFolder; }

private:
    QString m_strFolder;
};

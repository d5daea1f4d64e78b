#pragma once
// The cloud service double (tools/cloudsim) run by a test on a free loopback port.
#include "toolprocess.h"

#include <QRegularExpression>

class CloudSim : public ToolProcess
{
public:
    // port 0: a free one, read back from the double's "listening on" line.
    explicit CloudSim(const QString &state, const QStringList &extra = {}, int port = 0)
        : ToolProcess(QStringLiteral("cloudsim"),
                      QStringList{QStringLiteral("--state"), state, QStringLiteral("--port"), QString::number(port)} + extra)
    {
    }

    bool WaitReady()
    {
        if (!WaitFor(QStringLiteral("cloudsim: ready")))
            return false;
        static const QRegularExpression re(QStringLiteral("listening on \\S+:(\\d+)"));
        m_nPort = re.match(Output()).captured(1).toInt();
        return m_nPort > 0;
    }
    bool WaitFor(const QString &text, int count = 1) { return ToolProcess::WaitFor(text, count, 20000); }
    int Port() const { return m_nPort; }

private:
    int m_nPort = 0;
};

#pragma once
// Ends the event loop on SIGINT or SIGTERM, from the loop itself (a signal
// handler may only write to a pipe).
#include <QObject>

class QSocketNotifier;

class CSignalQuit : public QObject
{
    Q_OBJECT
public:
    explicit CSignalQuit(QObject *parent = nullptr);
    ~CSignalQuit() override;

signals:
    void sigQuit(int signo);

private:
    static void Handler(int signo);
    static int s_fds[2];
    QSocketNotifier *m_pNotifier = nullptr;
};

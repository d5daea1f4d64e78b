#include "singleapplication.h"

#include "ckeylock.h"
#include "cmessagebox.h"
#include "cshammailbox.h"
#include "cshamoutbox.h"
#include "moduleid.h"

#include <QDebug>
#include <QTimer>

namespace {
constexpr int kHeartMs = 5000;
constexpr unsigned long kPollMs = 30;
} // namespace

void ShamThread::Stop()
{
    m_bRun = false;
    wait();
}

void ShamThread::run()
{
    while (m_bRun) {
        work();
        msleep(kPollMs);
    }
}

void ShamSendThread::work()
{
    m_pApp->checkForSend();
}

void ShamRecvThread::work()
{
    m_pApp->checkForRecv();
}

SingleApplication::SingleApplication(int &argc, char **argv, int module)
    : QApplication(argc, argv), m_nModule(module)
{
    qRegisterMetaType<quint8>("quint8");
    m_pMailbox = std::make_unique<CShamMailbox>(ModuleName(module));
    switch (m_pMailbox->Own()) {
    case CShamMailbox::Claimed:
        m_pSendThread = std::make_unique<ShamSendThread>(this);
        m_pRecvThread = std::make_unique<ShamRecvThread>(this);
        m_pSendThread->start(QThread::InheritPriority);
        m_pRecvThread->start(QThread::InheritPriority);
        return;
    case CShamMailbox::Running:
        break;
    case CShamMailbox::Failed:
        qWarning() << "Unable to create single application instance.";
        break;
    }
    m_bRunning = true;
    m_pMailbox.reset();
}

SingleApplication::~SingleApplication()
{
    if (m_pSendThread)
        m_pSendThread->Stop();
    if (m_pRecvThread)
        m_pRecvThread->Stop();
    m_pMailbox.reset();
}

bool SingleApplication::refuseSecondStart()
{
    if (!m_bRunning)
        return false;
    CMessageBox::Warn(nullptr, tr("提示"), tr("%1 已经在运行，不能重复启动!").arg(ModuleName(m_nModule)));
    return true;
}

bool SingleApplication::sendSpecMessage(const QString &key, const QByteArray &payload)
{
    // Such a message would never fit and would hold up every later one.
    if (payload.size() > CShamMailbox::MaxPayload) {
        qWarning() << "SingleApplication::sendSpecMessage: payload of" << payload.size() << "bytes refused for" << key;
        return false;
    }
    CShamOutbox::Add(key, payload);
    return true;
}

bool SingleApplication::sendSpecMessage(int module, const QByteArray &payload)
{
    return sendSpecMessage(ModuleName(module), payload);
}

bool SingleApplication::checkSpecAppRunning(const QString &key)
{
    return CKeyLock::IsOwned(key);
}

bool SingleApplication::checkSpecAppRunning(int module)
{
    return checkSpecAppRunning(ModuleName(module));
}

int SingleApplication::pendingMessages()
{
    return CShamOutbox::Size();
}

QByteArray SingleApplication::heartbeatText()
{
    return QByteArrayLiteral("{\"heartbeat\": \"request\"}");
}

void SingleApplication::enableAutoHeart()
{
    if (m_pHeartTimer)
        return;
    m_pHeartTimer = new QTimer(this);
    connect(m_pHeartTimer, &QTimer::timeout, this, [] { sendSpecMessage(Mod_Heartbeat, heartbeatText()); });
    m_pHeartTimer->start(kHeartMs);
}

void SingleApplication::checkForSend()
{
    if (CShamOutbox::Size() == 0)
        return;
    const quint8 sender = quint8(m_nModule);
    CShamOutbox::Deliver([sender](const CShamOutbox::Entry &entry) {
        // A program that is not running loses its message; a full mailbox keeps it waiting.
        return CShamMailbox::Send(entry.strKey, sender, entry.payload) != CShamMailbox::Full;
    });
}

void SingleApplication::checkForRecv()
{
    if (!m_pMailbox)
        return;
    const QList<CShamMailbox::Message> messages = m_pMailbox->Take();
    for (const CShamMailbox::Message &m : messages)
        emit bytesAvailable(m.sender, m.payload);
}

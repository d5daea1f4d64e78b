// Text from a server station, as the client station handles it: the client's
// own host answering from a USB-disk programmer (a folder), file chunks joined
// by FileHandle and loaded into the programmer. Whatever arrives, the
// programmer's identity file stays and nothing is written outside the data and
// programmer folders. Byte 0 picks the link the text came by (a server station's
// TCP, NSQ or MQTT, or the cloud connection of the offline fetch); the rest is the text.
#include "cclienthost.h"
#include "cstationprogers.h"
#include "filehandle.h"
#include "remoteserver.h"

#include <burnhub.h>
#include <cmessagebox.h>
#include <functool.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

void Quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

struct Setup
{
    int argc = 1;
    char name[16] = "clientstation";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    QTemporaryDir dir;
    QString root;
    QString identity;
    CStationProgers progers;
    std::unique_ptr<CClientHost> host;
    std::unique_ptr<remoteServer> cloud;

    Setup()
    {
        qInstallMessageHandler(Quiet);
        // A question of a load (a name already in another slot) gets "no".
        CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &) { return QMessageBox::No; });
        if (!dir.isValid())
            std::abort();
        qputenv("QEL_DATA_DIR", (dir.path() + QStringLiteral("/data")).toLocal8Bit());
        root = dir.path() + QStringLiteral("/prog/");
        identity = root + QStringLiteral("sys/qelprogrammer.dat");
        const QByteArray id = "ID=3F0027000B51353235383233\r\nVER=V2.1.5\r\nHW=H1.0\r\nMODEL=QEL720A\r\n";
        if (!FuncTool::WriteFile(identity, id))
            std::abort();
        progers.Rebuild({ProgerInfo(root, QStringLiteral("3F0027000B51353235383233"), QStringLiteral("QEL720A"),
                                    QStringLiteral("V2.1.5"))},
                        {}, {});
        host = std::make_unique<CClientHost>(&progers);
        cloud = std::make_unique<remoteServer>();
        host->SetCloud(cloud.get());
    }

    // Only the data and programmer folders may gain entries.
    void Check() const
    {
        if (!QFile::exists(identity))
            std::abort();
        const QStringList top = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString &entry : top)
            if (entry != QLatin1String("data") && entry != QLatin1String("prog"))
                std::abort();
    }
};

const QString kTopic = QStringLiteral("3F0027000B51353235383233_S2C");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Setup setup;
    if (size < 1)
        return 0;
    const quint8 via = data[0];
    const QByteArray text(reinterpret_cast<const char *>(data + 1), int(size - 1));
    CClientHost &host = *setup.host;
    switch (via % 4) {
    case 0: host.DispatchTcp(text, QStringLiteral("127.0.0.1"), 5000); break;
    case 1: host.DispatchTopic(CRemoteKey::Nsq, kTopic, text); break;
    case 3: host.DispatchCloud(text, QStringLiteral("127.0.0.1"), 61690); break;
    default: host.DispatchTopic(CRemoteKey::Mqtt, kTopic, text); break;
    }
    // Log lines are posted events; they go nowhere, but must not pile up.
    QCoreApplication::sendPostedEvents();
    FileHandle::Instance()->CheckTimeout();
    setup.Check();
    return 0;
}

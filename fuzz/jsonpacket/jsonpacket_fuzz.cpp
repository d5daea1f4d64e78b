// Text from a peer, the cloud or a programmer in HID mode through ParsePacket,
// the field readers and HandleData, with a host that only checks what reaches
// it. Byte 0 picks the link the text came by; the rest is the text.
#include "cfilename.h"
#include "cmainhost.h"
#include "packet.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdlib>
#include <memory>

#if QEL_SERVER_SIDE
using namespace ns_prog720a;
#endif

namespace {

// Every name that reaches the host names a file the program would then write
// or read; the handlers must have refused anything but a plain name.
void RequirePlain(const QString &name)
{
    if (!CFileName::IsPlain(name))
        std::abort();
}

class FuzzHost : public CMainHost
{
public:
    void Log(const QString &) override {}
    void OnFileContent(const RecvPacket &, const qelmsg::FileContent &msg, const QByteArray &) override
    {
        RequirePlain(msg.name);
    }
    void OnPullFileDataResp(const qelmsg::PullFileDataResp &msg) override { RequirePlain(msg.name); }
    void OnUploadFileResp(const qelmsg::UploadFileResp &msg) override { RequirePlain(msg.name); }
};

void Quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// Working and data folders in a temporary folder, so a handler that writes or
// serves files can only touch that.
struct Setup
{
    // File transfers run from the event loop.
    int argc = 1;
    char arg0[8] = "fuzz";
    char *argv[2] = {arg0, nullptr};
    QCoreApplication app{argc, argv};
    QTemporaryDir dir;
    FuzzHost host;
    Setup()
    {
        qInstallMessageHandler(Quiet);
        if (!dir.isValid())
            std::abort();
        qputenv("QEL_DATA_DIR", dir.path().toLocal8Bit());
        // One file the server may serve, so "file-read" streams something.
        QDir().mkpath(dir.path() + QStringLiteral("/qel720A_server"));
        QFile f(dir.path() + QStringLiteral("/qel720A_server/a.bin"));
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray(3000, 'x'));
        CMainHost::SetInstance(&host);
    }
};

const QString kTopic = QStringLiteral("0123456789abcdef01234567_C2S");
const QStringList kKeys = {QStringLiteral("cmd"), QStringLiteral("no"), QStringLiteral("ret"),
                           QStringLiteral("name"), QStringLiteral("size"), QStringLiteral("data")};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Setup setup;
    if (size < 1)
        return 0;
    const quint8 via = data[0];
    const QByteArray text(reinterpret_cast<const char *>(data + 1), int(size - 1));

    // The factory and the field readers on their own.
    std::unique_ptr<RecvPacket> packet(ParsePacket(text));
    if (packet) {
        if (!packet->m_json.value(QStringLiteral("cmd")).isString())
            std::abort();
        for (const QString &key : kKeys) {
            packet->GetString(key);
            packet->GetInt(key);
            packet->GetBool(key);
        }
        packet->IsOk();
        packet->SetMqttTopic(kTopic);
        RemoteKeyOf(*packet);
    }

    // The whole way of a received text: parse, stamp the origin, handle.
    CMainHost &host = setup.host;
    switch (via % 5) {
    case 0: host.DispatchTcp(text, QStringLiteral("127.0.0.1"), 5000); break;
    case 1: host.DispatchCloud(text, QStringLiteral("127.0.0.1"), 6000); break;
    case 2: host.DispatchTopic(CRemoteKey::Nsq, kTopic, text); break;
    case 3: host.DispatchTopic(CRemoteKey::Mqtt, kTopic, text); break;
    default: host.DispatchHid(text, QStringLiteral("/dev/hidraw0")); break;
    }
    QCoreApplication::processEvents();

    return 0;
}

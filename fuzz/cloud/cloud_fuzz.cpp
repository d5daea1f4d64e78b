// Both ends of the cloud connection. Byte 0 picks the side, the rest is one
// message:
//   even: an answer of the service, through the server's dispatch into its
//         cloud client while pulls and an upload are running;
//   odd:  a request, through the cloud double's service with a store that
//         holds a user and a shared image.
// Whatever arrives, files are only ever written inside the temporary folder.
#include <ccloudservice.h>
#include <ccloudstore.h>
#include <cofflinecode.h>
#include <cpubactions.h>
#include <cserverhost.h>
#include <remoteserver.h>
#include <serverdefs.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {

void Quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

class FuzzHost : public CServerHost
{
public:
    FuzzHost() : CServerHost(nullptr) {}
    void Log(const QString &) override {}
};

struct Setup
{
    int argc = 1;
    char name[8] = "fuzz";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    QTemporaryDir dir;
    std::unique_ptr<FuzzHost> host;
    std::unique_ptr<remoteServer> cloud;
    std::unique_ptr<CCloudStore> store;
    std::unique_ptr<CCloudService> service;
    CCloudSession session;
    QString upload;

    Setup()
    {
        qInstallMessageHandler(Quiet);
        if (!dir.isValid())
            std::abort();
        for (const char *var : {"QEL_DATA_DIR", "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            qputenv(var, dir.path().toLocal8Bit());
        // An endpoint that never answers, reached without looking for fallbacks.
        CPubActions ini(false);
        ini.WriteString("CLOUD", "FALLBACK1", "", ServerDefs::IniFile());
        ini.WriteString("CLOUD", "FALLBACK2", "", ServerDefs::IniFile());
        ini.WriteInt("CLOUD", "PORT", 1, ServerDefs::IniFile());
        host = std::make_unique<FuzzHost>();
        cloud = std::make_unique<remoteServer>();
        host->SetCloud(cloud.get());
        upload = dir.path() + "/record_mcu.dat";
        QFile f(upload);
        if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray(70000, 'r')) != 70000)
            std::abort();
        f.close();

        store = std::make_unique<CCloudStore>(dir.path() + "/cloud");
        QString err;
        if (!store->Open(err) || !store->AddUser("alice", "pw", err))
            std::abort();
        QFile image(store->FtpDir() + "/a.img");
        if (!image.open(QIODevice::WriteOnly) || image.write(QByteArray(3000, 'i')) != 3000)
            std::abort();
        image.close();
        store->PutImage("alice", "a.img", "C2", 3000, 1700000000);
        service = std::make_unique<CCloudService>(*store, CCloudService::Options{}, [](const QString &) {});
        session.strPeer = "fuzz";
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Setup setup;
    if (size < 1)
        return 0;
    const QByteArray text(reinterpret_cast<const char *>(data + 1), int(size - 1));
    if (data[0] % 2 == 0) {
        for (const char *name : {"Repair.sql", "ExFactory.sql", "a.img"}) {
            if (!setup.cloud->PullFile(name))
                std::abort();
        }
        setup.cloud->UploadFile("1", setup.upload);
        setup.host->DispatchCloud(text, "127.0.0.1", 61690);
        // The working folder holds nothing but plain files of the names asked for.
        for (const QFileInfo &info : QDir(ServerDefs::WorkDir()).entryInfoList(QDir::NoDotAndDotDot | QDir::AllEntries)) {
            if (!info.isFile() || (info.fileName() != "Repair.sql" && info.fileName() != "ExFactory.sql"
                                   && info.fileName() != "a.img"))
                std::abort();
        }
    } else {
        // Half the requests find the image granted to this connection.
        if (data[0] % 4 == 1)
            setup.service->Handle(setup.session, R"({"cmd":"get-offline-img-req","userName":"alice","imageName":"a.img"})");
        setup.service->Handle(setup.session, text);
    }
    return 0;
}

#pragma once
// The programmer behind a USB link (VCP or HID): its files, UID, image index
// and active image, history counters and target flash. It answers the host's
// control frames through the shared device handler; the transport hands it
// whole frames and sends what it answers.
#include "csimflash.h"
#include "csimfolder.h"
#include "csimimagecheck.h"
#include "simbehaviour.h"
#include "simidentity.h"

#include <cusbdevicehandler.h>

#include <QMap>
#include <QObject>

#include <functional>
#include <memory>

class QTemporaryDir;
class QTimer;

class CSimProgrammer : public QObject, public CUsbDeviceHandler
{
    Q_OBJECT
public:
    using Sender = std::function<void(const QByteArray &frame)>;
    using Logger = std::function<void(const QString &text)>;

    CSimProgrammer(const SimIdentity &identity, const SimBehaviour &behaviour, QObject *parent = nullptr);
    ~CSimProgrammer() override;

    void SetSender(Sender sender) { m_send = std::move(sender); }
    void SetLogger(Logger logger) { m_log = std::move(logger); }

    // Lays out the programmer's folder (a temporary one when folder is empty),
    // loads its image index and checks the images it holds.
    bool Open(const QString &folder, QString &err);
    QString Folder() const { return m_folder.Root(); }
    const CSimFlash &Flash() const { return m_flash; }

    // The three UID words: the 24-digit ID read as three 8-digit numbers.
    static UsbUid UidOf(const QString &id);

protected:
    void SendFrame(const QByteArray &frame) override;
    void Log(const QString &text) override;
    UsbUid Uid() const override;
    quint8 OnStart() override;
    quint8 OnStartImage(quint8 image) override;
    quint8 OnSwitchPage(quint8 page) override;
    quint8 OnSwitchImage(quint8 image) override;
    UsbCounters OnSyncInit(const QString &timeText) override;
    quint8 OnRefreshImage() override;
    quint8 OnReadMcu(quint32 addr, quint32 count) override;
    UsbResult OnSpecData(quint32 addr, const QByteArray &data) override;
    quint8 CurrentImage() const override { return m_nImage; }
    QByteArray OnExCmd(quint8 sub) override;
    QByteArray OnCountQuery() override;
    quint8 AcceptFile(const QString &name, quint32 size) override;
    bool StoreFile(const QString &name, const QByteArray &data) override;
    quint8 DeleteFile(const QString &name) override;
    bool ReadFile(const QString &path, QByteArray &data) override;

private:
    quint8 BeginRun();
    void FinishRun();
    // Burns the active image into the target flash; the result code.
    quint8 Burn(quint32 &checksum);
    bool LoadIndex();
    bool WriteImageAttr();
    void Record(quint8 code, quint32 checksum);
    QString ImageText(int image) const;

    SimIdentity m_identity;
    SimBehaviour m_behaviour;
    std::unique_ptr<QTemporaryDir> m_pTempDir;
    CSimFolder m_folder;
    CSimImageCheck m_check;
    CSimFlash m_flash;
    QMap<int, ImageInfo> m_index;
    QMap<int, quint32> m_burned; // runs of each limited image
    QTimer *m_pRun = nullptr;    // child; runs while the target is programmed
    Sender m_send;
    Logger m_log;
    quint8 m_nImage = 0;
    quint8 m_nPage = 0;
    int m_nRuns = 0;
    quint32 m_nPass = 0;
    quint32 m_nFail = 0;
};

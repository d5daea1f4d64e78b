#include "cofflineuploader.h"

#include "cfilename.h"
#include "cofflinecode.h"
#include "cpeerjson.h"
#include "csafefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kRecordFile = QStringLiteral("record.ini");

} // namespace

COfflineUploader::COfflineUploader(QObject *parent) : QObject(parent)
{
    connect(&m_ftp, &CFtpClient::finished, this, &COfflineUploader::OnFinished);
    connect(&m_ftp, &CFtpClient::progress, this, [this](qint64 done, qint64 total) {
        if (m_step == PutImage)
            emit sigProgress(done, total);
    });
    m_registerTimer.setSingleShot(true);
    m_registerTimer.setInterval(kRegisterMs);
    connect(&m_registerTimer, &QTimer::timeout, this, [this] { OnRegistered(false); });
}

void COfflineUploader::SetUser(const QString &user, const QString &password)
{
    m_strUser = user;
    m_strPassword = password;
}

QString COfflineUploader::AccountFileName(const QString &user)
{
    return QStringLiteral("qel720a_ftpuser_") + user + QStringLiteral(".json");
}

void COfflineUploader::Status(const QString &text, bool log)
{
    emit sigStatus(text);
    if (log)
        emit sigLog(text);
}

bool COfflineUploader::Begin(Step step, const std::function<bool()> &start)
{
    m_step = step;
    if (start())
        return true;
    m_step = Idle;
    return false;
}

void COfflineUploader::End()
{
    m_step = Idle;
    m_registerTimer.stop();
    emit sigIdle();
}

bool COfflineUploader::StartUpload()
{
    if (IsBusy())
        return false;
    m_bRemoved = false;
    m_image = HomeImage();
    Status(tr("正在连接到服务器..."));
    Status(tr("正在登录...请稍等..."));
    Status(tr("正在获取服务器信息..."));
    const QString name = AccountFileName(m_strUser);
    const QFileInfo dir(m_strDataDir);
    if (!dir.isDir() || !dir.isWritable() || !CFileName::IsPlain(name)) {
        Message(Error, tr("错误"), tr("登录验证出现问题"));
        emit sigAccountRefused();
        emit sigIdle();
        return true;
    }
    if (!Begin(AccountFile, [&] { return m_ftp.get(name, m_strDataDir, kMaxAccountFileBytes); })) {
        Message(Error, tr("错误"), tr("登录验证出现问题"));
        emit sigAccountRefused();
        emit sigIdle();
    }
    return true;
}

bool COfflineUploader::FetchRecord()
{
    if (IsBusy())
        return false;
    if (!QFileInfo(m_strDataDir).isWritable() || !Begin(Record, [&] { return m_ftp.get(kRecordFile, m_strDataDir, COfflineRecord::kMaxRecordBytes); })) {
        Message(Error, tr("错误"), tr("写入信息出现问题"));
        return false;
    }
    return true;
}

void COfflineUploader::Close()
{
    if (m_ftp.isBusy())
        m_ftp.abort();
    Status(tr("关闭连接..."), false);
    m_step = Idle;
    m_registerTimer.stop();
    Status(tr("连接已经关闭"), false);
}

void COfflineUploader::OnFinished(const CFtpClient::Result &result)
{
    switch (m_step) {
    case AccountFile:
        AfterAccountFile(result);
        break;
    case PutImage:
        if (!result.ok) {
            emit sigLog(tr("远端数据更新错误：%1").arg(result.error));
            Status(tr("远端数据更新错误"), false);
            End();
            return;
        }
        Status(tr("文件上传成功"));
        Status(tr("正在更新服务器文件列表..."));
        if (!Begin(ListFolder, [&] { return m_ftp.list(); }))
            End();
        break;
    case ListFolder:
        AfterList(result);
        break;
    case RemoveImage:
        if (!result.ok)
            emit sigLog(tr("远端数据更新错误：%1").arg(result.error));
        Status(tr("正在更新服务器文件列表..."), false);
        if (!Begin(ListFolder, [&] { return m_ftp.list(); }))
            End();
        break;
    case Record:
        AfterRecord(result);
        break;
    case Idle:
    case Registering:
        break;   // closed meanwhile
    }
}

void COfflineUploader::AfterAccountFile(const CFtpClient::Result &result)
{
    const QString local = QDir(m_strDataDir).filePath(AccountFileName(m_strUser));
    if (!result.ok) {
        switch (result.failure) {
        case CFtpClient::ConnectFailed:
            emit sigLog(tr("连接服务器出现错误：%1").arg(QStringLiteral("Connecting to host failed")));
            Status(tr("连接服务器出现错误"), false);
            break;
        case CFtpClient::LoginFailed:
            Status(QStringLiteral("Login Server Fail"));
            break;
        case CFtpClient::FolderFailed:
            Message(Error, tr("错误"), tr("获取服务器位置错误"));
            break;
        default:
            QFile::remove(local);
            emit sigLog(tr("错误, 获取服务器信息失败"));
            Message(Error, tr("错误"), tr("获取服务器信息失败"));
            break;
        }
        emit sigAccountRefused();
        End();
        return;
    }
    Status(tr("连接服务器成功"));
    CheckAccount(local);
}

void COfflineUploader::CheckAccount(const QString &path)
{
    Status(tr("正在核验账号"));
    QByteArray text;
    QString err;
    if (!CSafeFile::ReadAll(path, m_strDataDir, text, err, kMaxAccountFileBytes))
        text.clear();
    // The account file holds a password: it does not stay on the disk.
    QFile::remove(path);
    QJsonObject account;
    if (!CPeerJson::ParseObject(text, account)) {
        emit sigLog(tr("错误, ParseError"));
        emit sigAccountRefused();
        End();
        return;
    }
    if (!account.contains(QStringLiteral("user"))) {
        emit sigLog(tr("错误, No Contains User"));
        emit sigAccountRefused();
        End();
        return;
    }
    if (account.value(QStringLiteral("user")).toString() != m_strUser
        || account.value(QStringLiteral("passWord")).toString() != m_strPassword) {
        Status(tr("登陆失败-用户名或密码错误"), false);
        emit sigLog(tr("错误, 用户名或密码错误"));
        emit sigAccountRefused();
        End();
        return;
    }
    emit sigAccountAccepted();
    emit sigLog(tr("登录成功"));
    emit sigLog(tr("正在上传离线镜像..."));
    Status(tr("正在上传离线镜像"), false);
    Upload();
}

void COfflineUploader::Upload()
{
    if (!m_builder || !m_builder(m_image) || !CFileName::IsPlain(m_image.name)) {
        Message(Error, tr("错误"), tr("处理离线镜像数据失败！"));
        End();
        return;
    }
    Status(tr("正在处理数据..."), false);
    m_strToken = COfflineCode::Make(m_strUser, m_image.name);
    Status(tr("正在加密数据并上传..."), false);
    if (!Begin(PutImage, [&] { return m_ftp.put(m_image.path, m_image.name); })) {
        Message(Error, tr("错误"), tr("处理离线镜像数据失败！"));
        End();
    }
}

void COfflineUploader::AfterList(const CFtpClient::Result &result)
{
    if (!result.ok) {
        emit sigLog(tr("远端数据更新错误：%1").arg(result.error));
        Status(tr("远端数据更新错误"), false);
        End();
        return;
    }
    if (!COfflineRecord::ListAccepted(result.entries.size())) {
        Status(tr("上传文件数量超过限制，请先删除部分镜像"));
        Message(Warn, tr("提示"), tr("镜像文件上传失败!:%1").arg(m_image.name));
        m_bRemoved = true;
        if (!Begin(RemoveImage, [&] { return m_ftp.remove(m_image.name); }))
            End();
        return;
    }
    if (m_bRemoved || m_image.name.isEmpty()) {
        End();
        return;
    }
    // The store holds the file: the service registers it for the user.
    m_step = Registering;
    m_registerTimer.start();
    if (m_registrar)
        m_registrar(m_strToken, m_image.name, m_image.crc2);
}

void COfflineUploader::OnRegistered(bool ok)
{
    if (m_step != Registering)
        return;
    const QString name = m_image.name;
    End();
    if (!ok) {
        Message(Error, tr("错误"), tr("远端数据库更新失败！"));
        return;
    }
    Message(Info, tr("成功"), tr("镜像文件%1上传完成！").arg(name));
    emit sigUploaded(name);
}

void COfflineUploader::AfterRecord(const CFtpClient::Result &result)
{
    const QString local = QDir(m_strDataDir).filePath(kRecordFile);
    if (!result.ok) {
        QFile::remove(local);
        emit sigLog(tr("错误, 获取远端信息失败"));
        Message(Error, tr("错误"), tr("获取远端信息失败"));
        End();
        return;
    }
    QByteArray sealed;
    QString err;
    if (!CSafeFile::ReadAll(local, m_strDataDir, sealed, err, COfflineRecord::kMaxRecordBytes))
        sealed.clear();
    QList<COfflineRecord::Entry> entries;
    if (!COfflineRecord::Parse(sealed, entries))
        emit sigLog(tr("远端信息解析出错"));
    End();
    emit sigRecord(entries);
}

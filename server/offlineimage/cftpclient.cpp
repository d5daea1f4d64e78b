#include "cftpclient.h"

#include "cfilename.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QUrl>

#include <curl/curl.h>

#include <mutex>

struct CFtpClient::Job
{
    Result result;
    QString url;
    QString localPath;
    FtpAccount account;
    int stallSeconds = 15;
    std::shared_ptr<std::atomic_bool> abort;
    CFtpClient *owner = nullptr;
    QIODevice *io = nullptr;   // source of a put, target of a get
    QByteArray listing;
    qint64 maxBytes = -1;   // bound of a get
    qint64 written = 0;
    QElapsedTimer lastProgress;
};

namespace {

struct CurlHandle
{
    CURL *h = curl_easy_init();
    curl_slist *quote = nullptr;
    ~CurlHandle()
    {
        curl_slist_free_all(quote);
        curl_easy_cleanup(h);
    }
};

QStringList FolderParts(const FtpAccount &a)
{
    return a.folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

QString FolderUrl(const FtpAccount &a)
{
    // "%2F" keeps the folder absolute whatever the account's home is.
    QString url = QStringLiteral("ftp://%1:%2/").arg(a.host).arg(a.port) + QStringLiteral("%2F");
    for (const QString &part : FolderParts(a))
        url += QString::fromLatin1(QUrl::toPercentEncoding(part)) + QLatin1Char('/');
    return url;
}

size_t WriteBody(char *data, size_t size, size_t n, void *user)
{
    auto *job = static_cast<CFtpClient::Job *>(user);
    const qint64 len = qint64(size * n);
    if (job->io) {
        job->written += len;
        if (job->maxBytes >= 0 && job->written > job->maxBytes)
            return 0;   // the server sends more than such a file holds
        return job->io->write(data, len) == len ? size_t(len) : 0;
    }
    job->listing.append(data, int(len));
    return job->listing.size() > 4 * 1024 * 1024 ? 0 : size_t(len);   // a listing has bounds
}

size_t ReadBody(char *data, size_t size, size_t n, void *user)
{
    auto *job = static_cast<CFtpClient::Job *>(user);
    const qint64 got = job->io->read(data, qint64(size * n));
    return got < 0 ? CURL_READFUNC_ABORT : size_t(got);
}

int Progress(void *user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal, curl_off_t ulNow)
{
    auto *job = static_cast<CFtpClient::Job *>(user);
    if (*job->abort)
        return 1;
    const bool up = job->result.command == CFtpClient::Put;
    const qint64 done = up ? ulNow : dlNow;
    const qint64 total = up ? ulTotal : dlTotal;
    // A few reports a second are enough for a progress bar.
    if (done > 0 && (job->lastProgress.elapsed() > 100 || (total > 0 && done == total))) {
        job->lastProgress.restart();
        CFtpClient *owner = job->owner;
        QMetaObject::invokeMethod(owner, [owner, done, total] { emit owner->progress(done, total); },
                                  Qt::QueuedConnection);
    }
    return 0;
}

} // namespace

CFtpClient::CFtpClient(QObject *parent)
    : QObject(parent)
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    qRegisterMetaType<CFtpClient::Result>();
    qRegisterMetaType<CFtpClient::Command>();
    m_pWorker = std::make_unique<QObject>();
    m_pWorker->moveToThread(&m_thread);
    m_thread.start();
}

CFtpClient::~CFtpClient()
{
    abort();
    m_thread.quit();
    m_thread.wait();
}

std::shared_ptr<CFtpClient::Job> CFtpClient::NewJob(Command command, const QString &remoteName) const
{
    // Names go into paths and command lines: only plain names, so no "..", no line breaks.
    if (command != List && !CFileName::IsPlain(remoteName))
        return nullptr;
    auto job = std::make_shared<Job>();
    job->result.command = command;
    job->result.name = remoteName;
    job->url = FolderUrl(m_account);
    if (command != List && command != Remove)
        job->url += QString::fromLatin1(QUrl::toPercentEncoding(remoteName));
    return job;
}

bool CFtpClient::list()
{
    return Start(NewJob(List, QString()));
}

bool CFtpClient::put(const QString &localPath, const QString &remoteName)
{
    auto job = NewJob(Put, remoteName);
    if (!job)
        return false;
    job->localPath = localPath;
    return Start(job);
}

bool CFtpClient::get(const QString &remoteName, const QString &localFolder, qint64 maxBytes)
{
    auto job = NewJob(Get, remoteName);
    if (job)
        job->maxBytes = maxBytes;
    return job && CFileName::InFolder(localFolder, remoteName, job->localPath) && Start(job);
}

bool CFtpClient::remove(const QString &remoteName)
{
    auto job = NewJob(Remove, remoteName);
    return job && Start(job);
}

bool CFtpClient::size(const QString &remoteName)
{
    auto job = NewJob(Size, remoteName);
    return job && Start(job);
}

void CFtpClient::abort()
{
    if (m_pAbort)
        *m_pAbort = true;
}

bool CFtpClient::Start(std::shared_ptr<Job> job)
{
    if (m_bBusy)
        return false;
    m_bBusy = true;
    m_pAbort = std::make_shared<std::atomic_bool>(false);
    job->abort = m_pAbort;
    job->account = m_account;
    job->stallSeconds = m_nStallSeconds;
    job->owner = this;
    emit started(job->result.command, job->result.name);
    QMetaObject::invokeMethod(m_pWorker.get(), [this, job] {
        Run(*job);
        QMetaObject::invokeMethod(this, [this, job] {
            m_bBusy = false;
            emit finished(job->result);
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
    return true;
}

namespace {

CFtpClient::Failure FailureOf(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_WEIRD_SERVER_REPLY:
        return CFtpClient::ConnectFailed;
    case CURLE_LOGIN_DENIED:
        return CFtpClient::LoginFailed;
    case CURLE_REMOTE_ACCESS_DENIED:   // the folder change was refused
        return CFtpClient::FolderFailed;
    default:
        return CFtpClient::TransferFailed;
    }
}

} // namespace

void CFtpClient::Run(Job &job)
{
    Result &r = job.result;
    r.failure = TransferFailed;
    CurlHandle curl;
    if (!curl.h) {
        r.error = QStringLiteral("curl_easy_init failed");
        r.failure = ConnectFailed;
        return;
    }
    std::unique_ptr<QFile> source;
    std::unique_ptr<QSaveFile> target;
    if (r.command == Put) {
        source = std::make_unique<QFile>(job.localPath);
        if (!source->open(QIODevice::ReadOnly)) {
            r.error = source->errorString();
            return;
        }
        job.io = source.get();
        curl_easy_setopt(curl.h, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl.h, CURLOPT_READFUNCTION, ReadBody);
        curl_easy_setopt(curl.h, CURLOPT_READDATA, &job);
        curl_easy_setopt(curl.h, CURLOPT_INFILESIZE_LARGE, curl_off_t(source->size()));
    } else if (r.command == Get) {
        // Written beside and renamed at the end: a broken transfer keeps the old file.
        target = std::make_unique<QSaveFile>(job.localPath);
        if (!target->open(QIODevice::WriteOnly)) {
            r.error = target->errorString();
            return;
        }
        job.io = target.get();
    } else if (r.command == List) {
        curl_easy_setopt(curl.h, CURLOPT_DIRLISTONLY, 1L);
    } else {
        curl_easy_setopt(curl.h, CURLOPT_NOBODY, 1L);
        if (r.command == Remove) {
            // Quoted commands run before the folder change: the path is absolute.
            const QStringList path = QStringList(QString()) + FolderParts(job.account) + QStringList(r.name);
            curl.quote = curl_slist_append(nullptr, ("DELE " + path.join(QLatin1Char('/')).toUtf8()).constData());
            curl_easy_setopt(curl.h, CURLOPT_QUOTE, curl.quote);
        }
    }
    char errbuf[CURL_ERROR_SIZE] = {};
    const QByteArray url = job.url.toUtf8();
    const QByteArray user = job.account.user.toUtf8();
    const QByteArray password = job.account.password.toUtf8();
    curl_easy_setopt(curl.h, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl.h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(curl.h, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(curl.h, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(curl.h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.h, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(curl.h, CURLOPT_FTP_RESPONSE_TIMEOUT, long(job.stallSeconds));
    curl_easy_setopt(curl.h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl.h, CURLOPT_LOW_SPEED_TIME, long(job.stallSeconds));
    curl_easy_setopt(curl.h, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(curl.h, CURLOPT_WRITEDATA, &job);
    curl_easy_setopt(curl.h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl.h, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(curl.h, CURLOPT_XFERINFODATA, &job);
    job.lastProgress.start();

    const CURLcode code = curl_easy_perform(curl.h);
    if (code != CURLE_OK) {
        r.error = QString::fromUtf8(errbuf[0] ? errbuf : curl_easy_strerror(code));
        r.failure = FailureOf(code);
        if (target)
            target->cancelWriting();
        return;
    }
    if (r.command == Size || r.command == Put || r.command == Get) {
        curl_off_t length = -1;
        const CURLINFO info = r.command == Put ? CURLINFO_SIZE_UPLOAD_T
                              : r.command == Get ? CURLINFO_SIZE_DOWNLOAD_T
                                                 : CURLINFO_CONTENT_LENGTH_DOWNLOAD_T;
        curl_easy_getinfo(curl.h, info, &length);
        r.size = length;
    }
    if (r.command == Size && r.size < 0) {
        r.error = QStringLiteral("No size for %1").arg(r.name);
        return;
    }
    if (target && !target->commit()) {
        r.error = target->errorString();
        return;
    }
    if (r.command == List) {
        for (const QByteArray &line : job.listing.split('\n')) {
            const QString name = QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line);
            if (CFileName::IsPlain(name))
                r.entries << name;
        }
    }
    r.ok = true;
    r.failure = NoFailure;
}

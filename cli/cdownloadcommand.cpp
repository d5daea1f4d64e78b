#include "cdownloadcommand.h"

#include "cliexit.h"
#include "clioptions.h"
#include "cprogrammers.h"
#include "cprogressview.h"

#include <burnhub.h>
#include <cmessagebox.h>
#include <imagebuilder.h>
#include <imagefile.h>
#include <usbcmd.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

void CDownloadCommand::Setup(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("image"), QStringLiteral("The image file (.img)."));
    parser.addOption({QStringLiteral("number"), QStringLiteral("Image number on the programmers."), QStringLiteral("n")});
    parser.addOption(CCliProgrammers::ToOption());
    parser.addOption(CliOptions::Timeout(120));
}

int CDownloadCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    auto usage = [](const QString &reason) {
        CCliOut::Error(reason);
        return int(CliExit::Usage);
    };
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return usage(QStringLiteral("download needs one image file"));
    const QString path = args[0];
    if (!parser.isSet(QStringLiteral("to")))
        return usage(QStringLiteral("download needs --to ID[,ID...] or --to all"));
    if (!parser.isSet(QStringLiteral("number")))
        return usage(QStringLiteral("download needs --number N"));
    bool numberOk = false;
    const int number = parser.value(QStringLiteral("number")).toInt(&numberOk, 10);
    QString err;
    if (!numberOk || !CImageBuilder::CheckIndexRange(number, err))
        return usage(QStringLiteral("--number needs an image number from 0 to %1").arg(CImageBuilder::MaxImageIndex));
    int timeoutMs = 0;
    if (!CliOptions::TimeoutMs(parser, timeoutMs, err))
        return usage(err);
    QString name = QFileInfo(path).fileName();
    if (QFileInfo(path).suffix() != QLatin1String("img"))
        return usage(QStringLiteral("%1: an image file ends in .img").arg(path));
    if (!CImageBuilder::CheckImageName(name, err))
        return usage(QStringLiteral("%1: %2").arg(path, err));
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return usage(QStringLiteral("%1: cannot read the image").arg(path));
    const QByteArray image = file.readAll();
    file.close();
    const bool encrypted = CImageFile::IsEncrypted(image);
    if (!encrypted) {
        QByteArray plain = image;
        CImageTrailer trailer;
        if (!CImageFile::Open(plain, QString(), trailer, err))
            return usage(QStringLiteral("%1: %2").arg(path, err));
    }

    CCliProgrammers progs;
    QVector<CCliTarget> targets;
    const int unreached = progs.Reach(parser.value(QStringLiteral("to")), timeoutMs, targets);
    if (unreached >= 0)
        return unreached;
    // Every programmer takes the image, or none is touched.
    for (const CCliTarget &t : qAsConst(targets)) {
        if (t.LinkFailed())
            continue;
        if (!CImageBuilder::CheckImageIndex(&t.Info(), number, encrypted, err))
            return usage(QStringLiteral("%1: %2").arg(t.Label(), err));
        if (t.bUsb && number > UsbCmd::kMaxImageNo)
            return usage(QStringLiteral("%1: a HID or VCP programmer takes image numbers 0 to %2").arg(t.Label(), QString::number(UsbCmd::kMaxImageNo)));
        if (encrypted) {
            QByteArray copy = image;
            CImageTrailer trailer;
            if (!CImageFile::Open(copy, t.KeyID(), trailer, err))
                return usage(QStringLiteral("%1: the image is not for this programmer (%2)").arg(t.Label(), err));
        }
    }

    // A name stored under another number moves to this one, as a user answering yes would.
    CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &) { return QMessageBox::Yes; });
    BurnHub *hub = BurnHub::Instance();
    QStringList labels;
    for (const CCliTarget &t : qAsConst(targets))
        labels << t.Label();
    CProgressView view(labels, out.Json());
    // USB programmers first: they go on while the disks are written.
    for (CCliTarget &t : targets) {
        if (!t.bUsb || t.LinkFailed())
            continue;
        hub->SetUSBProgUID(t.pDev->FolderId());
        if (!hub->ModifyIndex(number, name, err)) {
            t.pDev->m_job = CCliUsbDev::JobFile;
            t.pDev->m_bDone = true;
            t.pDev->m_strReason = err;
            continue;
        }
        progs.Usb().SendFile(*t.pDev, path, number);
    }
    for (int i = 0; i < targets.size(); ++i) {
        CCliTarget &t = targets[i];
        if (t.bUsb)
            continue;
        hub->SetProgRoot(t.info.m_strRoot);
        t.bOk = hub->DownImageFile(number, path, name, err);
        t.bDone = true;
        t.strReason = t.bOk ? QString() : err;
        view.Set(i, t.bOk ? 100 : 0, t.bOk ? QStringLiteral("stored") : QStringLiteral("failed"));
    }
    auto refresh = [&] {
        for (int i = 0; i < targets.size(); ++i) {
            const CCliTarget &t = targets[i];
            if (!t.bUsb)
                continue;
            const QString state = !t.Done() ? QString() : t.Ok() ? QStringLiteral("switched") : QStringLiteral("failed");
            view.Set(i, t.pDev->m_nPercent, state);
        }
        view.Show();
    };
    progs.Usb().Wait(timeoutMs, refresh);
    view.Show(true);

    QJsonArray rows;
    for (const CCliTarget &t : qAsConst(targets)) {
        rows.append(CliJobs::ResultRow(t));
        out.Line(CliJobs::ResultLine(t));
        if (!t.Ok() && out.Json())
            CCliOut::Error(CliJobs::ResultLine(t));
    }
    out.Document({{QStringLiteral("image"), name}, {QStringLiteral("number"), number}, {QStringLiteral("programmers"), rows}});
    return CliJobs::Status(targets);
}

#pragma once
// The host side the simulator's USB tests drive it with: the suite's host
// handler, with the console's hooks recorded instead of shown. The transport
// (serial port or HID pipe) is given as a function.
#include <cframecutter.h>
#include <cusbdev.h>
#include <cusbhosthandler.h>

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <functional>

class SimHost : public CUsbHostHandler
{
public:
    std::function<bool(const QByteArray &)> transmit;
    CUsbDev dev;
    QString dir; // local mirrors: dir/<programmer name>/<file>
    int image = 0;
    QStringList logs;
    QList<UsbResult> results;
    QList<UsbResult> specResults;
    QList<bool> starts;
    quint32 pass = 0;
    quint32 fail = 0;
    QString flashPath;
    QList<CUsbImageAttr> attrs;

    bool logged(const QString &line) const { return logs.contains(line); }
    bool loggedPart(const QString &part) const
    {
        return std::any_of(logs.cbegin(), logs.cend(), [&](const QString &l) { return l.contains(part); });
    }
    QString Mirror(const QString &name) const { return dir + QLatin1Char('/') + dev.m_strName + QLatin1Char('/') + name; }

    // Bytes of a serial line: every whole frame goes to the handler.
    void FeedStream(QByteArray &buf, const QByteArray &bytes)
    {
        buf.append(bytes);
        QByteArray frame;
        QByteArray dropped;
        CFrameCutter::Result r;
        while ((r = CFrameCutter::NextUsb(buf, frame, dropped)) != CFrameCutter::NeedMore) {
            if (r == CFrameCutter::Message)
                Receive(dev, frame);
        }
    }
    // One HID report: a frame ends the read, the rest is padding.
    void FeedReport(QByteArray &buf, const QByteArray &report)
    {
        buf.append(report);
        QByteArray frame;
        QByteArray dropped;
        CFrameCutter::Result r;
        while ((r = CFrameCutter::NextUsb(buf, frame, dropped)) != CFrameCutter::NeedMore) {
            if (r == CFrameCutter::Message) {
                buf.clear();
                Receive(dev, frame);
                return;
            }
        }
    }

protected:
    void SendFrame(CUsbDev &, const QByteArray &frame) override
    {
        if (!transmit || !transmit(frame))
            logs << QStringLiteral("send failed");
    }
    void Log(const QString &text) override { logs << text; }
    int ImageNumber() const override { return image; }
    QString MirrorPath(CUsbDev &d, const QString &name) override
    {
        QDir().mkpath(dir + QLatin1Char('/') + d.m_strName);
        return dir + QLatin1Char('/') + d.m_strName + QLatin1Char('/') + name;
    }
    void OnFlashData(CUsbDev &, const QString &path) override { flashPath = path; }
    void OnImageAttr(CUsbDev &, const QList<CUsbImageAttr> &list) override { attrs = list; }
    void OnSyncCounters(CUsbDev &, quint32 p, quint32 f) override
    {
        pass = p;
        fail = f;
    }
    void OnStartAnswer(CUsbDev &, bool started) override { starts << started; }
    void OnResult(CUsbDev &, const UsbResult &r) override { results << r; }
    void OnSpecDataResult(CUsbDev &, const UsbResult &r) override { specResults << r; }
};

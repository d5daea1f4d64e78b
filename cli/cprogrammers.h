#pragma once
// The programmers one command works on: the disk programmers the hub finds and
// the USB ones (VCP, HID) of the session, initialised; and the choice of them
// that --to names (IDs, ports, roots, or "all").
#include "cusbsession.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QList>
#include <QVector>

struct CCliTarget
{
    bool bUsb = false;
    ProgerInfo info;              // a disk programmer
    CCliUsbDev *pDev = nullptr;   // a USB programmer

    // How the programmer is named in the output: the ID it goes by.
    QString Label() const;
    QString Way() const;
    // The ID an image for it is encrypted with: its identity file's.
    QString KeyID() const;
    // Its description (model, versions).
    const ProgerInfo &Info() const { return bUsb ? pDev->m_info : info; }

    // Outcome of a disk job (a USB job keeps it in its device).
    bool bDone = false;
    bool bOk = false;
    QString strReason;

    bool Done() const { return bUsb ? pDev->m_bDone : bDone; }
    bool Ok() const { return bUsb ? pDev->m_bDone && pDev->m_bOk : bOk; }
    QString Reason() const
    {
        if (!bUsb)
            return strReason;
        return pDev->m_strReason.isEmpty() ? pDev->m_strError : pDev->m_strReason;
    }
    // The programmer could not be reached (gone, no answer): a link failure.
    bool LinkFailed() const { return bUsb && !pDev->Works(); }
};

class CCliProgrammers
{
public:
    static QCommandLineOption ToOption();

    // Finds the disk programmers (when disk is true) and opens and
    // initialises the USB ones.
    void Discover(int timeoutMs, bool disk = true);
    CCliUsbSession &Usb() { return m_usb; }
    const QList<ProgerInfo> &Disks() const { return m_disks; }

    // The programmers --to names, in the order named ("all": every one
    // found, those that dropped out included). False with the reason when a name matches none.
    bool Select(const QString &to, QVector<CCliTarget> &targets, QString &err);
    // Discover (at most 20 s of timeoutMs) then Select; the error line is
    // printed. -1 when the command goes on, else its exit status. With
    // needOne, no programmer at all is a failure too.
    int Reach(const QString &to, int timeoutMs, QVector<CCliTarget> &targets, bool needOne = true);

private:
    QList<ProgerInfo> m_disks;
    CCliUsbSession m_usb;
};

namespace CliJobs {
// Exit status of jobs that ended: 3 when a programmer could not be reached,
// else 1 when one failed, else 0.
int Status(const QVector<CCliTarget> &targets);
// "LABEL ok" or "LABEL failed: reason", one line per programmer.
QString ResultLine(const CCliTarget &target);
// The same as a row of the JSON document: id, way, ok and reason.
QJsonObject ResultRow(const CCliTarget &target);
} // namespace CliJobs

#pragma once
// One restore of an image package onto one programmer: the files to send (the
// index first, then each image in ascending number) and the progress as the
// transfers finish. Everything is checked and every encrypted image re-keyed
// before the first file goes out, so a package that cannot be restored whole
// changes nothing on the programmer.
#include "imagepackage.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class CRestoreRun
{
    Q_DECLARE_TR_FUNCTIONS(CRestoreRun)

public:
    struct File
    {
        QString strName;   // "image.dat" or the image's name
        QByteArray baData;
        int nIndex = -1;   // image number; -1 for the index
    };
    enum Outcome {
        Ignored,  // not a transfer this run waits for
        Advanced, // one more file is on the programmer
        Failed,   // the transfer failed: the run is over
    };

    // targetID: the ID the encrypted images are re-keyed for; now: their new
    // build time. False (and nothing to send) when the package may not be
    // restored or an image cannot be re-keyed.
    bool Prepare(const CImagePackage &package, const QString &targetID, quint32 now, QString &err);
    // A HID or VCP programmer gets its index again after every image, on the
    // console's own; the next file waits for that too.
    void SetIndexFollowsImage(bool follows) { m_bIndexFollows = follows; }

    int Total() const { return m_files.size(); }
    int Done() const { return m_nDone; }
    // The next file may go out now.
    bool CanSend() const;
    // Takes the next file; the run then waits for its transfer.
    File TakeNext();
    // A transfer to the programmer finished.
    Outcome Finished(const QString &name, bool ok);
    bool IsComplete() const { return !m_bFailed && m_nDone == m_files.size() && !m_bAwaitIndex && m_nSent == m_nDone; }
    bool IsFailed() const { return m_bFailed; }
    bool IsActive() const { return !m_files.isEmpty() && !m_bFailed && !IsComplete(); }
    void Cancel();

private:
    QList<File> m_files;
    int m_nSent = 0;
    int m_nDone = 0;
    bool m_bIndexFollows = false;
    bool m_bAwaitIndex = false;
    bool m_bFailed = false;
};

#pragma once
// The rules of the image panel without its widgets: what the fields say, the
// checks before a download, the build through CImageBuilder into the working
// folder, and the way an image or the parameter file reaches each kind of
// programmer. The window reads its fields into CPanelValues and shows the
// CPanelMessage it gets back.
#include "bintreewidget.h"
#include "imagebuilder.h"
#include "myproger.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QVector>

// The panel's fields as typed.
struct CPanelValues
{
    QList<BinInfo> bins;
    QString strIndex;
    QString strName;
    bool bEncrypt = false;
    int nChip = 0;
    QString strLimit;
    QString strVersion;
};

// One message for the user and how the window shows it.
struct CPanelMessage
{
    enum Way { None, Log, Warn, Error };
    Way way = None;
    QString text;

    static CPanelMessage Logged(const QString &t) { return {Log, t}; }
    static CPanelMessage Warning(const QString &t) { return {Warn, t}; }
    static CPanelMessage Failure(const QString &t) { return {Error, t}; }
};

class CImagePanel
{
    Q_DECLARE_TR_FUNCTIONS(CImagePanel)

public:
    enum Kind { KindNone, KindDisk, KindUsb, KindRemote };
    // Numbers the USB console can switch to.
    static constexpr int MaxUsbIndex = 149;
    static const char *const ParamFileName; // "param.ini"

    explicit CImagePanel(const QString &workDir);
    QString WorkDir() const { return m_builder.WorkDir(); }
    // Where an image of that name is built before it is downloaded.
    QString ImagePath(const QString &name) const;
    QString ParamPath() const;

    static Kind KindOf(const MyProger *proger);
    // The ID an image for that programmer is encrypted with. A HID or VCP
    // programmer is listed under its console name; its own ID is in the
    // identity file the console pulled into its PC-side folder.
    static QString KeyID(const MyProger &proger);
    static int IndexOf(const QString &text); // -1 when not a decimal number
    static quint32 NumberOf(const QString &text);

    // The program list as the builder takes it; false for an address that is no hex number.
    static bool ToEntries(const QList<BinInfo> &bins, QVector<CBinEntry> &entries, QString &err);

    // The CRC text of the merged program list; false (reason for the debug
    // output) when the list is empty or cannot be merged.
    bool RefreshCRC(const QList<BinInfo> &bins, QString &crcText, QString &why) const;

    // Name, number range, programmer and its number limit, in this order. name
    // gets ".img" appended when it lacks it.
    static bool CheckDownload(const CPanelValues &values, const MyProger *proger, QString &name, int &index,
                              CPanelMessage &msg);

    // Builds imagePath from the panel, encrypted for givenID when that has 24
    // characters, else for the programmer's ID. A refusal is a Failure message.
    bool Build(const CPanelValues &values, const MyProger *proger, const QString &givenID, const QString &imagePath,
               CImageResult &result, CPanelMessage &msg) const;

    // ---- the way to each kind of programmer
    // USB disk: the image stored under its number; the log line either way.
    static bool DownImageToDisk(const MyProger &proger, int index, const QString &imagePath, const QString &name,
                                QString &logLine);
    // HID or VCP: the PC-side index names the image. The console then sends
    // the image, and the index after it on its own.
    static bool PrepareUsbImage(const MyProger &proger, int index, const QString &name, CPanelMessage &msg);
    // Remote: "file-attrib" for a file of the working folder on the programmer's route.
    static bool AnnounceFile(const MyProger &proger, const QString &path, int index, QString &err);

    // The address a program file belongs at, as the address cell shows it: the
    // lowest address of a HEX file; empty for a BIN file or an unreadable one.
    static QString AddrOfFile(const QString &path);

    // The form of a programmer ID the export accepts (1 to 24 hex digits),
    // made up to 24 upper-case digits; empty when it is not one.
    static QString ExportID(const QString &text);

private:
    CImageBuilder m_builder;
};

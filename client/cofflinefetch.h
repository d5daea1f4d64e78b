#pragma once
// Rules of the offline-image fetch: the code a user was given is decoded into
// the owner and the image name, and the image pulled from the cloud is checked
// against the programmer it is meant for before it may be downloaded.
#include <imagefile.h>

#include <QCoreApplication>
#include <QString>

class COfflineFetch
{
    Q_DECLARE_TR_FUNCTIONS(COfflineFetch)

public:
    // user and fileName of code; false with the log line ("离线镜像码长度出错"
    // or "离线镜像解析出错").
    static bool Decode(const QString &code, QString &user, QString &fileName, QString &err);

    struct Check
    {
        bool fetched = false; // the file is there and fits the programmer
        bool parsed = false;  // and reads as an image
        QString err;
        CImageTrailer trailer;
    };
    // The pulled file at path for the programmer with ID progerID.
    static Check CheckImage(const QString &path, const QString &progerID);
};

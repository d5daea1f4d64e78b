#pragma once
// The offline image code: the share text a user hands to client stations, which
// is also the upload token of an offline image. The compact JSON object
// {"user", "fileName"}, padded with blanks to whole AES blocks, encrypted with
// AES-128-ECB under the cloud key and Base64-encoded. The store's fetch record
// ("record.ini") is sealed the same way.
#include <QByteArray>
#include <QString>

class COfflineCode
{
public:
    enum Error {
        Ok,
        BadLength,  // not Base64, or not a whole number of AES blocks
        BadContent, // no JSON object with "user" and "fileName"
    };

    static QString Make(const QString &user, const QString &fileName);
    static Error Parse(const QString &code, QString &user, QString &fileName);

    // plain padded with blanks, encrypted, Base64.
    static QByteArray Seal(const QByteArray &plain);
    // The reverse, blanks at the end removed; false for text that is not
    // Base64 of whole blocks.
    static bool Open(const QByteArray &sealed, QByteArray &plain);
};

#pragma once
// The store's fetch record "record.ini" (sealed JSON array of
// {"name", "get", "max", "history", "deadline"}) and the rules of the image
// list built from it and from the service's list.
#include "messages.h"

#include <QByteArray>
#include <QList>
#include <QString>

class COfflineRecord
{
public:
    struct Entry
    {
        QString name;
        int get = 0;
        int max = 0;
        int history = 0;
        qint64 deadline = 0;
    };
    // More than this many files in the store folder and the last upload is taken back.
    static constexpr int kMaxFiles = 100;
    static constexpr int kMaxRecordBytes = 4 * 1024 * 1024;

    // Entries with a plain name; false (entries empty) for a record that does
    // not open, is no JSON array, or is too large.
    static bool Parse(const QByteArray &sealed, QList<Entry> &entries);
    // Counters of the record onto the listed images of the same name.
    static void Apply(const QList<Entry> &entries, QList<qelmsg::OiiItem> &images);
    static bool ListAccepted(int files) { return files <= kMaxFiles; }

    // Texts of the image page.
    static QString InfoText(const qelmsg::OiiItem &image);
    static QString LimitText(int days, int count);
    static QString TimeText(qint64 seconds);
};

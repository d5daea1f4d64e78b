#pragma once
// The programmers this station lists, in the order of the list: USB-disk
// programmers first, then HID devices, then virtual-COM ports. One of them is
// the current one, which a server station works on.
#include <progerinfo.h>

#include <QList>
#include <QStringList>

#include <functional>

struct CStationProger
{
    enum Kind { Disk, Hid, Vcp };
    Kind kind = Disk;
    // Disk root, HID device path or port name: finds the entry again.
    QString key;
    ProgerInfo info;

    // The list's text: the disk's description, or the kind and the key.
    QString Text() const;
};

class CStationProgers
{
public:
    // Replaces the list; the current entry stays current when it is still
    // there, else the first entry becomes current.
    // identity gives what a HID or VCP programmer said about itself, when it has.
    using Identity = std::function<bool(const QString &key, ProgerInfo &info)>;
    void Rebuild(const QList<ProgerInfo> &disks, const QStringList &hidPaths, const QStringList &ports,
                 const Identity &identity = {});

    int Count() const { return m_list.size(); }
    const CStationProger &At(int row) const { return m_list.at(row); }
    // -1 when the list is empty.
    int CurrentRow() const { return m_nCurrent; }
    bool SetCurrentRow(int row);
    // Null when the list is empty.
    const CStationProger *Current() const;

private:
    QList<CStationProger> m_list;
    int m_nCurrent = -1;
};

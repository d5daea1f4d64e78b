#pragma once
// Programmer side of a pull: one file of the programmer handed out frame by frame.
#include <QByteArray>

class CUsbFileServer
{
public:
    // False (and nothing served) for a file too large for the 16-bit frame count.
    bool Set(const QByteArray &data);
    void Clear() { m_data.clear(); m_bSet = false; }
    bool IsSet() const { return m_bSet; }

    // REQ_FILE_ATTR answer: status 0, size and frame count of the file set;
    // status 1 when none is set.
    QByteArray InfoFrame() const;
    // REQ_FILE_DATA answer for frame k; empty for a frame the file does not have.
    QByteArray DataFrame(int k) const;

private:
    QByteArray m_data;
    bool m_bSet = false;
};

#pragma once
// The BIN2 parameter list: up to 80 typed parameters (u8, u16, u32) whose
// values are stored little-endian, one after the other, at a flash address of
// the target MCU. Values are kept as the text the editor shows, in decimal or
// hexadecimal.
#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QVector>

struct CBin2Param
{
    QString strDesc;
    int nType = 0; // 0 u8, 1 u16, 2 u32
    QString strValue;
    QString strNotes;
};

// A message for the user: the title of its box and its text.
struct CBin2Message
{
    QString title;
    QString text;
    bool bError = true;
    bool IsEmpty() const { return text.isEmpty(); }
};

class CBin2Params
{
    Q_DECLARE_TR_FUNCTIONS(CBin2Params)

public:
    static constexpr int kMaxParams = 0x50;
    static constexpr int kTypeCount = 3;
    static const char kDefaultAddr[]; // "19000"
    // The display formats as the description file stores them.
    static const char kDecimalText[]; // "10进制"
    static const char kHexText[];     // "16进制"

    CBin2Params();

    // Bytes of a type index; 1 for an unknown one.
    static int Width(int type);
    static QString TypeName(int type);

    int Count() const { return m_nCount; }
    // Sum of the widths of the parameters in use.
    int ByteCount() const;
    // "%1(%2)": count and bytes.
    QString CountText() const;
    bool IsHex() const { return m_bHex; }
    // Rows 0..79, also those not in use.
    const CBin2Param &At(int row) const { return m_rows[row]; }
    CBin2Param &Row(int row) { return m_rows[row]; }

    // Back to no parameters, the rows emptied, decimal display.
    void Clear();
    // A new u8 parameter; refused at the limit.
    bool Add(CBin2Message &msg);
    // Removes the last parameter; false when there is none.
    bool DeleteLast();
    // Number of rows in use, for a description file that names it.
    void SetCount(int count);
    void SetType(int row, int type);
    // Converts every value in use to the other display format.
    void SetHex(bool hex);
    // The format the values already are in (a description file says so).
    void SetFormatOnly(bool hex) { m_bHex = hex; }

    // The values of the parameters in use from data (each takes its width,
    // little-endian), shown in the current display format. False with the
    // message when there are too many parameters (everything is reset) or
    // when the data does not match their widths.
    bool FillFromData(const QByteArray &data, CBin2Message &msg);
    // Makes count u8 parameters, one per byte of data, and fills them.
    bool FillAsBytes(const QByteArray &data, CBin2Message &msg);

    // A value text read in the current format; false when it is no number
    // or does not fit the parameter's width.
    bool ValueOf(int row, quint32 &value) const;
    // The bytes of every parameter at its width; false with the message
    // naming the first parameter whose value cannot be written.
    bool ToData(QByteArray &data, CBin2Message &msg) const;

    static QString FormatValue(quint32 value, bool hex);
    static bool ParseValue(const QString &text, bool hex, quint32 &value);

private:
    QVector<CBin2Param> m_rows;
    int m_nCount = 0;
    bool m_bHex = false;
};

#pragma once
// Where qelctl's results go: text lines or one JSON document on standard
// output, errors one line each on standard error.
#include <QJsonObject>
#include <QString>

class CCliOut
{
public:
    explicit CCliOut(bool json) : m_bJson(json) {}

    bool Json() const { return m_bJson; }
    // A result line in text mode; nothing in JSON mode.
    void Line(const QString &text) const;
    // The one JSON document of the command (JSON mode only).
    void Document(const QJsonObject &doc) const;
    // One line on standard error; newlines in the reason are flattened.
    static void Error(const QString &text);

private:
    bool m_bJson;
};

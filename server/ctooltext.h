#pragma once
// Tool-bar texts under the icons: a long text with spaces (English) is cut at
// the space nearest its middle into two lines, so the buttons stay narrow.
#include <QString>

class CToolText
{
public:
    static constexpr int MaxLine = 12;
    static QString Wrap(const QString &text);
};

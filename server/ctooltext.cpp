#include "ctooltext.h"

QString CToolText::Wrap(const QString &text)
{
    const QString plain = text.simplified();
    if (plain.size() <= MaxLine)
        return plain;
    const int middle = plain.size() / 2;
    int cut = -1;
    for (int i = 0; i < plain.size(); ++i) {
        if (plain.at(i) == QLatin1Char(' ') && (cut < 0 || qAbs(i - middle) < qAbs(cut - middle)))
            cut = i;
    }
    if (cut < 0)
        return plain;
    return plain.left(cut) + QLatin1Char('\n') + plain.mid(cut + 1);
}

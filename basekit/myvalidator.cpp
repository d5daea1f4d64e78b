#include "myvalidator.h"

MyIntValidator::MyIntValidator(QObject *parent) : QIntValidator(parent) {}

MyIntValidator::MyIntValidator(int bottom, int top, QObject *parent) : QIntValidator(bottom, top, parent) {}

QValidator::State MyIntValidator::validate(QString &input, int &pos) const
{
    if (QStringLiteral("%1").arg(input.toInt()).length() < input.length())
        return Invalid;
    return QIntValidator::validate(input, pos);
}

void MyIntValidator::fixup(QString &input) const
{
    if (input.isEmpty())
        return;
    input = QString::number(qBound(bottom(), input.toInt(), top()));
}

MyDoubleValidator::MyDoubleValidator(QObject *parent) : QDoubleValidator(parent) {}

MyDoubleValidator::MyDoubleValidator(double bottom, double top, int decimals, QObject *parent)
    : QDoubleValidator(bottom, top, decimals, parent)
{
}

QValidator::State MyDoubleValidator::validate(QString &input, int &pos) const
{
    if (input.isEmpty())
        return Intermediate;
    const State state = QDoubleValidator::validate(input, pos);
    if (state != Intermediate)
        return state;
    bool ok = false;
    double value = locale().toDouble(input, &ok);
    if (!ok)
        value = input.toDouble(&ok);
    if (!ok)
        return state;
    // Typing more digits only moves a value away from zero, so only a value past
    // the range on its far side can never become valid. One below a positive
    // bottom ("1" on the way to "15" in 10..100) stays open.
    if ((value > top() && value > 0) || (value < bottom() && value < 0))
        return Invalid;
    return state;
}

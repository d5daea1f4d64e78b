#pragma once
// Line-edit validators that refuse text the standard ones let through.
#include "basekit_global.h"

#include <QDoubleValidator>
#include <QIntValidator>

// Refuses leading zeros, signs and anything that does not print back as typed.
class BASEKIT_EXPORT MyIntValidator : public QIntValidator
{
    Q_OBJECT

public:
    explicit MyIntValidator(QObject *parent = nullptr);
    MyIntValidator(int bottom, int top, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
    // Clamps the value into the range.
    void fixup(QString &input) const override;
};

// Empty text is intermediate; a value that has run out of the range for good is refused.
class BASEKIT_EXPORT MyDoubleValidator : public QDoubleValidator
{
    Q_OBJECT

public:
    explicit MyDoubleValidator(QObject *parent = nullptr);
    MyDoubleValidator(double bottom, double top, int decimals, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
};

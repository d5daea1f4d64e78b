#include "cnamevalidator.h"

CNameValidator::CNameValidator(QObject *parent) : QValidator(parent) {}

bool CNameValidator::HasForbidden(const QString &text)
{
    const QString forbidden = Forbidden();
    for (const QChar c : text)
        if (forbidden.contains(c))
            return true;
    return false;
}

QString CNameValidator::RefusedText()
{
    return tr("特殊字符已被禁止输入");
}

QValidator::State CNameValidator::validate(QString &input, int &) const
{
    if (!HasForbidden(input))
        return Acceptable;
    emit sigRefused(RefusedText());
    return Invalid;
}

#include "cpasswordrule.h"

bool CPasswordRule::Check(const QString &password, QString &err)
{
    // ASCII digits only: the programmer compares bytes, and "$" in a pattern
    // would also let a trailing line break through.
    bool digits = !password.isEmpty() && password.size() <= 9;
    for (const QChar c : password)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!digits) {
        err = tr("当前版本只支持1~9位的用户密码设置");
        return false;
    }
    return true;
}

#include "eval.h"

#include <QByteArray>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {
constexpr double kTrue = 1e-7;
constexpr double kPi = 3.141592653;

// Operator characters with their priority and operand count.
struct OpInfo
{
    char code;
    int priority;
    int args;
};
constexpr OpInfo kOperators[] = {
    {'+', 3, 2}, {'-', 3, 2}, {'*', 4, 2}, {'/', 4, 2}, {'^', 5, 2}, {'!', 5, 1}, {'%', 5, 2},
    {'(', -4, 0}, {')', -5, 0}, {',', -1, 1}, {'&', 1, 2}, {'|', 0, 2}, {'~', 5, 1}, {'#', 8, 1},
};

// Names in the order they are tried; the code of the n-th is 'A' + n.
struct NameInfo
{
    const char *name;
    int priority;
    int args;
};
constexpr NameInfo kNames[] = {
    {">=", 2, 2}, {"<=", 2, 2}, {"!=", 2, 2}, {"==", 2, 2}, {">", 2, 2}, {"<", 2, 2},
    {"asin", 8, 1}, {"acos", 8, 1}, {"atan", 8, 1}, {"sin", 8, 1}, {"cos", 8, 1}, {"tan", 8, 1},
    {"rand", 8, 2}, {"deg", 8, 1}, {"if", 8, 3}, {"rad", 8, 1}, {"log", 8, 2}, {"ln", 8, 1},
    {"exp", 8, 1}, {"min", 8, 2}, {"max", 8, 2}, {"sign", 8, 1}, {"round", 8, 1}, {"floor", 8, 1},
    {"abs", 8, 1}, {"sqrt", 8, 1},
};
constexpr int kNameCount = int(sizeof kNames / sizeof kNames[0]);
static_assert(kNameCount == 26, "one name per letter code");

bool isCode(char c)
{
    return c >= 'A' && c <= 'Z';
}

const OpInfo *findOperator(char c)
{
    for (const OpInfo &op : kOperators)
        if (op.code == c)
            return &op;
    return nullptr;
}

bool truthy(double v)
{
    return std::fabs(v) >= kTrue;
}

// Whole-number range check before a double is turned into an int.
bool fitsInt(double v)
{
    return v >= double(INT_MIN) && v <= double(INT_MAX);
}
} // namespace

Eval::Eval()
{
    reset();
}

void Eval::reset()
{
    m_nTop = -1;
    m_nError = NoError;
    m_nInfix = 0;
    m_nReverse = 0;
    // Every evaluation draws the same "rand" sequence.
    m_random.seed(0);
}

double Eval::fail(int error)
{
    m_nError = error;
    return 0;
}

QString Eval::errorText(int error)
{
    switch (error) {
    case NoError: return QStringLiteral("no error");
    case ErrTwoPoints: return QStringLiteral("two decimal points in one number");
    case ErrEmptyStack: return QStringLiteral("operator stack empty");
    case ErrUnmatchedClose: return QStringLiteral("\")\" without \"(\"");
    case ErrUnknownPriority: return QStringLiteral("unknown operator (priority)");
    case ErrValueCount: return QStringLiteral("not exactly one value left");
    case ErrUnknownOperator: return QStringLiteral("unknown operator");
    case ErrOperand: return QStringLiteral("missing or non-numeric operand");
    case ErrDomain: return QStringLiteral("arithmetic domain error");
    case ErrTooLong: return QStringLiteral("formula longer than %1 characters").arg(MaxText);
    default: break;
    }
    return QStringLiteral("error %1").arg(error);
}

// ---------------------------------------------------------------- text rewriting

bool Eval::isComplexFormula(const QString &text)
{
    for (const NameInfo &n : kNames)
        if (text.contains(QLatin1String(n.name)))
            return true;
    return false;
}

QString Eval::getTransFormula(const QString &text)
{
    if (text.isEmpty())
        return QString();
    QByteArray bytes = text.toLatin1();
    tranString(bytes.data());
    return QString::fromLatin1(bytes.constData());
}

bool Eval::replaceString(char *buf, int pos, int count, const char *replacement)
{
    const int len = int(std::strlen(buf));
    const int add = int(std::strlen(replacement));
    if (pos < 0 || count < 0 || pos + count > len || add > count)
        return false;
    std::memcpy(buf + pos, replacement, size_t(add));
    std::memmove(buf + pos + add, buf + pos + count, size_t(len - pos - count + 1));
    return true;
}

void Eval::tranString(char *buf)
{
    for (int i = 0; buf[i]; ++i) {
        // Later names are still tried at the same place after a replacement.
        for (int k = 0; k < kNameCount; ++k) {
            const int len = int(std::strlen(kNames[k].name));
            if (std::strncmp(buf + i, kNames[k].name, size_t(len)) == 0) {
                const char code[2] = {char('A' + k), 0};
                replaceString(buf, i, len, code);
            }
        }
    }
}

void Eval::replaceNegetive(char *buf)
{
    for (int i = 0; buf[i]; ++i) {
        if (buf[i] != '-')
            continue;
        const char prev = i > 0 ? buf[i - 1] : 0;
        if (i == 0 || (isOperator(prev) && prev != ')'))
            buf[i] = '#';
    }
}

// ---------------------------------------------------------------- stacks and lists

bool Eval::pushOpera(char op)
{
    if (m_nTop + 1 >= MaxItems)
        return false;
    m_opStack[++m_nTop] = op;
    return true;
}

char Eval::popOpera()
{
    if (m_nTop < 0) {
        m_nError = ErrEmptyStack;
        return 0;
    }
    return m_opStack[m_nTop--];
}

char Eval::getTopOpera()
{
    if (m_nTop < 0) {
        m_nError = ErrEmptyStack;
        return 0;
    }
    return m_opStack[m_nTop];
}

bool Eval::pushSignNum(double value)
{
    if (m_nInfix >= MaxItems)
        return false;
    m_infix[m_nInfix++] = Item{value, 0};
    return true;
}

bool Eval::pushSignOpera(char op)
{
    if (m_nInfix >= MaxItems)
        return false;
    m_infix[m_nInfix++] = Item{0, op};
    return true;
}

bool Eval::pushReverseNum(double value)
{
    return insertReverseNum(m_nReverse, value);
}

bool Eval::pushReverseOpera(char op)
{
    if (m_nReverse >= MaxItems)
        return false;
    m_reverse[m_nReverse++] = Item{0, op};
    return true;
}

bool Eval::insertReverseNum(int index, double value)
{
    if (index < 0 || index > m_nReverse || m_nReverse >= MaxItems)
        return false;
    std::memmove(m_reverse + index + 1, m_reverse + index, sizeof(Item) * size_t(m_nReverse - index));
    m_reverse[index] = Item{value, 0};
    ++m_nReverse;
    return true;
}

bool Eval::deleteReverseItem(int index, int count)
{
    if (index < 0 || count < 0 || index + count > m_nReverse)
        return false;
    std::memmove(m_reverse + index, m_reverse + index + count, sizeof(Item) * size_t(m_nReverse - index - count));
    m_nReverse -= count;
    return true;
}

// ---------------------------------------------------------------- operators

bool Eval::isOperator(char c)
{
    return isCode(c) || (c != 0 && findOperator(c) != nullptr);
}

bool Eval::isNumber(char c)
{
    return (c >= '0' && c <= '9') || c == '.';
}

int Eval::getPriority(char op)
{
    if (isCode(op))
        return kNames[op - 'A'].priority;
    if (const OpInfo *info = findOperator(op))
        return info->priority;
    m_nError = ErrUnknownPriority;
    return 0;
}

int Eval::getOperaArgNum(char op)
{
    if (isCode(op))
        return kNames[op - 'A'].args;
    if (const OpInfo *info = findOperator(op))
        return info->args;
    m_nError = ErrUnknownOperator;
    return 0;
}

double Eval::fact(double n)
{
    if (n < 0)
        return -1;
    if (n < 2)
        return n;
    // A loop, not recursion: a large n must not exhaust the stack.
    double result = 1;
    for (double i = 2; i <= n && std::isfinite(result); ++i)
        result *= i;
    return result;
}

double Eval::calculateOpera(char op, const double *args)
{
    const double a = args[0];
    const double b = getOperaArgNum(op) > 1 ? args[1] : 0;
    switch (op) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    case '/': return b == 0 ? fail(ErrDomain) : a / b;
    case '^': return std::pow(a, b);
    case '!': return fact(std::trunc(a));
    case '%': {
        // Remainder of the integer parts, without leaving the double range.
        const double d = std::trunc(b);
        return d == 0 ? fail(ErrDomain) : std::fmod(std::trunc(a), d);
    }
    case ',': return a;
    case '&': return truthy(a) && truthy(b) ? 1 : 0;
    case '|': return truthy(a) || truthy(b) ? 1 : 0;
    case '~': return truthy(a) ? 0 : 1;
    case '#': return -a;
    case 'A': return a >= b ? 1 : 0;
    case 'B': return a <= b ? 1 : 0;
    case 'C': return std::fabs(a - b) >= kTrue ? 1 : 0;
    case 'D': return std::fabs(a - b) <= kTrue ? 1 : 0;
    case 'E': return a > b ? 1 : 0;
    case 'F': return a < b ? 1 : 0;
    case 'G': return a < -1 || a > 1 ? fail(ErrDomain) : std::asin(a);
    case 'H': return a < -1 || a > 1 ? fail(ErrDomain) : std::acos(a);
    case 'I': return std::atan(a);
    case 'J': return std::sin(a);
    case 'K': return std::cos(a);
    case 'L': return std::tan(a);
    case 'M': {
        if (a < 0 || b < 0 || b - a < 1 || !fitsInt(a) || !fitsInt(b))
            return fail(ErrDomain);
        const int low = int(a);
        const int span = int(b) - low;
        return double(low) + double(m_random() % unsigned(span)) + 1;
    }
    case 'N': return a / kPi * 180;
    case 'O': {
        const double c = args[2];
        return truthy(a) ? b : c;
    }
    case 'P': return a / 180 * kPi;
    case 'Q': return a <= 0 || a == 1 || b <= 0 ? fail(ErrDomain) : std::log(b) / std::log(a);
    case 'R': return a <= 0 ? fail(ErrDomain) : std::log(a);
    case 'S': return std::exp(a);
    case 'T': return std::min(a, b);
    case 'U': return std::max(a, b);
    case 'V': return a >= 0 ? 1 : -1;
    case 'W': return std::trunc(a + 0.5);
    case 'X': return std::trunc(a);
    case 'Y': return std::fabs(a);
    case 'Z': return a < 0 ? fail(ErrDomain) : std::sqrt(a);
    default: break;
    }
    return fail(ErrUnknownOperator);
}

double Eval::calculate()
{
    for (;;) {
        int at = 0;
        while (at < m_nReverse && m_reverse[at].op == 0)
            ++at;
        if (at == m_nReverse) {
            if (m_nReverse != 1)
                return fail(ErrValueCount);
            return m_reverse[0].value;
        }
        const char op = m_reverse[at].op;
        const int n = getOperaArgNum(op);
        if (m_nError)
            return 0;
        if (at < n)
            return fail(ErrOperand);
        double args[3] = {0, 0, 0};
        for (int i = 0; i < n; ++i) {
            const Item &item = m_reverse[at - n + i];
            if (item.op != 0)
                return fail(ErrOperand);
            args[i] = item.value;
        }
        const double result = calculateOpera(op, args);
        if (m_nError)
            return 0;
        deleteReverseItem(at - n, n + 1);
        insertReverseNum(at - n, result);
    }
}

// ---------------------------------------------------------------- evaluation

bool Eval::tokenise(const char *buf)
{
    bool inNumber = false;
    bool point = false;
    double number = 0;
    double scale = 1;
    for (const char *p = buf; *p; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            if (!inNumber) {
                inNumber = true;
                point = false;
                number = 0;
                scale = 1;
            }
            if (point) {
                scale /= 10;
                number += (c - '0') * scale;
            } else {
                number = number * 10 + (c - '0');
            }
        } else if (c == '.') {
            if (!inNumber) {
                inNumber = true;
                number = 0;
                scale = 1;
            } else if (point) {
                m_nError = ErrTwoPoints;
                return false;
            }
            point = true;
        } else if (isOperator(c)) {
            if (inNumber)
                pushSignNum(number);
            inNumber = false;
            pushSignOpera(c);
        }
        // Anything else, spaces included, is skipped.
    }
    if (inNumber)
        pushSignNum(number);
    return true;
}

bool Eval::reorder()
{
    for (int i = 0; i < m_nInfix; ++i) {
        const Item &item = m_infix[i];
        if (item.op == 0) {
            pushReverseNum(item.value);
        } else if (item.op == '(') {
            pushOpera('(');
        } else if (item.op == ')') {
            for (;;) {
                if (!isNotEmptyOperaS()) {
                    m_nError = ErrUnmatchedClose;
                    return false;
                }
                const char top = popOpera();
                if (top == '(')
                    break;
                pushReverseOpera(top);
            }
        } else {
            const int priority = getPriority(item.op);
            while (isNotEmptyOperaS() && getPriority(getTopOpera()) >= priority)
                pushReverseOpera(popOpera());
            pushOpera(item.op);
        }
    }
    // An unclosed "(" is dropped.
    while (isNotEmptyOperaS()) {
        const char op = popOpera();
        if (op != '(' && op != ')')
            pushReverseOpera(op);
    }
    return m_nError == NoError;
}

double Eval::eval(char *buf, bool translate)
{
    reset();
    if (!buf)
        return fail(ErrValueCount);
    if (::strnlen(buf, MaxText + 1) > size_t(MaxText))
        return fail(ErrTooLong);
    if (translate)
        tranString(buf);
    replaceNegetive(buf);
    if (!tokenise(buf) || !reorder())
        return 0;
    return calculate();
}

double Eval::eval(const QString &text, bool translate)
{
    const QByteArray bytes = text.toLocal8Bit();
    if (bytes.size() > MaxText) {
        reset();
        return fail(ErrTooLong);
    }
    char buf[MaxText + 1];
    std::memcpy(buf, bytes.constData(), size_t(bytes.size()) + 1);
    return eval(buf, translate);
}

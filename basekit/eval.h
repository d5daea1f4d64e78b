#pragma once
// Numeric formula evaluator: names become one-letter codes, the text becomes a
// list of numbers and operator codes in reverse Polish order, and that list is
// reduced to one number. Every table is fixed-size, so an Eval never allocates.
#include "basekit_global.h"

#include <QString>

#include <random>

class BASEKIT_EXPORT Eval
{
public:
    enum Error {
        NoError = 0,
        ErrTwoPoints = 1,     // two decimal points in one number
        ErrEmptyStack = 2,    // top of an empty operator stack
        ErrUnmatchedClose = 3, // ")" without "("
        ErrUnknownPriority = 4,
        ErrValueCount = 5,    // not exactly one value left
        ErrUnknownOperator = 6,
        ErrOperand = 7,       // missing or non-numeric operand
        ErrDomain = 8,        // arithmetic domain error
        ErrTooLong = 9,       // text longer than MaxText characters
    };

    static constexpr int MaxItems = 1024;
    static constexpr int MaxText = 999;

    Eval();

    // The result is 0 whenever error() is set afterwards.
    double eval(const QString &text, bool translate);
    // Works on buf (NUL-terminated) in place: names are replaced by their codes.
    double eval(char *buf, bool translate);

    int error() const { return m_nError; }
    static QString errorText(int error);

    static bool isComplexFormula(const QString &text);
    static QString getTransFormula(const QString &text);
    static void tranString(char *buf);
    static void replaceNegetive(char *buf);
    // Replaces count characters at pos by replacement; refuses to grow the text.
    static bool replaceString(char *buf, int pos, int count, const char *replacement);
    // Factorial of a whole number; below 0 gives -1, below 2 gives n.
    static double fact(double n);

    // Operator stack.
    bool pushOpera(char op);
    char popOpera();
    char getTopOpera();
    bool isNotEmptyOperaS() const { return m_nTop >= 0; }
    // Infix list.
    bool pushSignNum(double value);
    bool pushSignOpera(char op);
    // Reverse Polish list.
    bool pushReverseNum(double value);
    bool pushReverseOpera(char op);
    bool insertReverseNum(int index, double value);
    bool deleteReverseItem(int index, int count);

    int getPriority(char op);
    int getOperaArgNum(char op);
    static bool isOperator(char c);
    static bool isNumber(char c);
    // args holds getOperaArgNum(op) operands, left one first.
    double calculateOpera(char op, const double *args);
    // Reduces the reverse Polish list to its one value.
    double calculate();

private:
    struct Item
    {
        double value;
        char op; // 0 for a number
    };

    void reset();
    bool tokenise(const char *buf);
    bool reorder();
    double fail(int error);

    char m_opStack[MaxItems];
    int m_nTop = -1;
    int m_nError = NoError;
    Item m_infix[MaxItems];
    int m_nInfix = 0;
    Item m_reverse[MaxItems];
    int m_nReverse = 0;
    std::minstd_rand m_random;
};

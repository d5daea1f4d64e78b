// Formula evaluator: results, operator binding, and every error code.
#include "eval.h"
#include "qeltest.h"

#include <cmath>

class TestEval : public QObject
{
    Q_OBJECT
private slots:
    void results_data();
    void results();
    void errors_data();
    void errors();
    void stackErrors();
    void translation();
    void randIsRepeatable();
    void longTexts();
    void copyKeepsState();
};

void TestEval::results_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("power left to right") << "2^3^2" << 64.0;
    QTest::newRow("negation before power") << "-2^2" << 4.0;
    QTest::newRow("precedence") << "1+2*3-4/2" << 5.0;
    QTest::newRow("groups") << "(1+2)*(3+4)" << 21.0;
    QTest::newRow("unclosed group dropped") << "(1+2" << 3.0;
    QTest::newRow("factorial 0") << "0!" << 0.0;
    QTest::newRow("factorial 3") << "3!" << 6.0;
    QTest::newRow("factorial of integer part") << "3.9!" << 6.0;
    QTest::newRow("factorial negative") << "(0-3)!" << -1.0;
    QTest::newRow("remainder of integer parts") << "7.9%3.2" << 1.0;
    QTest::newRow("negative remainder") << "-7%3" << -1.0;
    QTest::newRow("fraction digits") << "0.125*8" << 1.0;
    QTest::newRow("leading point") << ".5+.5" << 1.0;
    QTest::newRow("digits across spaces") << "1 2+1" << 13.0;
    QTest::newRow("minus after operator") << "2*-3" << -6.0;
    QTest::newRow("minus after minus") << "2--3" << 5.0;
    QTest::newRow("not") << "~0+~5" << 1.0;
    QTest::newRow("and or") << "1&0|1" << 1.0;
    QTest::newRow("and below threshold") << "1&0.00000001" << 0.0;
    QTest::newRow("ge") << "3>=3" << 1.0;
    QTest::newRow("le") << "4<=3" << 0.0;
    QTest::newRow("ne within 1e-7") << "1!=1.00000001" << 0.0;
    QTest::newRow("eq within 1e-7") << "1==1.00000001" << 1.0;
    QTest::newRow("gt exact") << "1.00000001>1" << 1.0;
    QTest::newRow("lt") << "1<2" << 1.0;
    QTest::newRow("comparison binds loosely") << "1+1==2" << 1.0;
    QTest::newRow("max") << "max(1,2)" << 2.0;
    QTest::newRow("min") << "min(4,-2)" << -2.0;
    QTest::newRow("if true") << "if(1,5,6)" << 5.0;
    QTest::newRow("if false") << "if(0.00000001,5,6)" << 6.0;
    QTest::newRow("log base") << "log(2,8)" << 3.0;
    QTest::newRow("ln exp") << "ln(exp(2))" << 2.0;
    QTest::newRow("sqrt abs") << "sqrt(abs(-16))" << 4.0;
    QTest::newRow("sign of zero") << "sign(0)+sign(-3)" << 0.0;
    QTest::newRow("round half up") << "round(2.5)" << 3.0;
    QTest::newRow("round toward zero") << "round(-2.5)" << -2.0;
    QTest::newRow("floor toward zero") << "floor(-2.7)" << -2.0;
    QTest::newRow("deg") << "deg(3.141592653)" << 180.0;
    QTest::newRow("rad") << "rad(180)" << 3.141592653;
    QTest::newRow("sin cos tan") << "sin(0)+cos(0)+tan(0)" << 1.0;
    QTest::newRow("asin acos atan") << "asin(0)+acos(1)+atan(0)" << 0.0;
    QTest::newRow("sin plus max") << "sin(0)+max(1,2)" << 2.0;
    QTest::newRow("huge factorial") << "999999999!" << qInf();
}

void TestEval::results()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    Eval e;
    const double got = e.eval(text, true);
    QCOMPARE(e.error(), int(Eval::NoError));
    if (std::isinf(value))
        QVERIFY(std::isinf(got));
    else
        QVERIFY2(std::fabs(got - value) < 1e-9, qPrintable(QString::number(got, 'g', 17)));
}

void TestEval::errors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("translate");
    QTest::addColumn<int>("error");
    QTest::newRow("two points") << "1.2.3+1" << true << int(Eval::ErrTwoPoints);
    QTest::newRow("close without open") << "1+2)" << true << int(Eval::ErrUnmatchedClose);
    QTest::newRow("names skipped untranslated") << "sin(0)+max(1,2)" << false << int(Eval::ErrValueCount);
    QTest::newRow("empty text") << "" << true << int(Eval::ErrValueCount);
    QTest::newRow("missing operand") << "1+" << true << int(Eval::ErrOperand);
    QTest::newRow("double negation") << "--2" << true << int(Eval::ErrOperand);
    QTest::newRow("divide by zero") << "1/0" << true << int(Eval::ErrDomain);
    QTest::newRow("remainder by fraction") << "5%0.5" << true << int(Eval::ErrDomain);
    QTest::newRow("asin out of range") << "asin(2)" << true << int(Eval::ErrDomain);
    QTest::newRow("acos out of range") << "acos(-1.5)" << true << int(Eval::ErrDomain);
    QTest::newRow("ln of zero") << "ln(0)" << true << int(Eval::ErrDomain);
    QTest::newRow("sqrt of negative") << "sqrt(-1)" << true << int(Eval::ErrDomain);
    QTest::newRow("log base one") << "log(1,5)" << true << int(Eval::ErrDomain);
    QTest::newRow("log of zero") << "log(2,0)" << true << int(Eval::ErrDomain);
    QTest::newRow("rand span below one") << "rand(1,1.5)" << true << int(Eval::ErrDomain);
    QTest::newRow("rand negative") << "rand(0-1,5)" << true << int(Eval::ErrDomain);
    QTest::newRow("rand beyond int") << "rand(1,99999999999)" << true << int(Eval::ErrDomain);
    QTest::newRow("too long") << QString(Eval::MaxText + 1, QLatin1Char('1')) << true << int(Eval::ErrTooLong);
}

void TestEval::errors()
{
    QFETCH(QString, text);
    QFETCH(bool, translate);
    QFETCH(int, error);
    Eval e;
    QCOMPARE(e.eval(text, translate), 0.0);
    QCOMPARE(e.error(), error);
    QVERIFY(!Eval::errorText(error).isEmpty());
    // The next evaluation starts clean.
    QCOMPARE(e.eval(QStringLiteral("1+1"), true), 2.0);
    QCOMPARE(e.error(), int(Eval::NoError));
}

void TestEval::stackErrors()
{
    Eval e;
    e.getTopOpera();
    QCOMPARE(e.error(), int(Eval::ErrEmptyStack));
    Eval p;
    p.getPriority('x');
    QCOMPARE(p.error(), int(Eval::ErrUnknownPriority));
    Eval a;
    a.getOperaArgNum('x');
    QCOMPARE(a.error(), int(Eval::ErrUnknownOperator));
    Eval c;
    const double args[3] = {1, 2, 0};
    QCOMPARE(c.calculateOpera('?', args), 0.0);
    QCOMPARE(c.error(), int(Eval::ErrUnknownOperator));

    // A manual reverse list: "1 +" has too few operands.
    Eval r;
    QVERIFY(r.pushReverseNum(1));
    QVERIFY(r.pushReverseOpera('+'));
    QCOMPARE(r.calculate(), 0.0);
    QCOMPARE(r.error(), int(Eval::ErrOperand));
    // The lists are bounded.
    Eval full;
    for (int i = 0; i < Eval::MaxItems; ++i)
        QVERIFY(full.pushOpera('+'));
    QVERIFY(!full.pushOpera('+'));
}

void TestEval::translation()
{
    QVERIFY(Eval::isComplexFormula(QStringLiteral("1+sqrt(4)")));
    QVERIFY(Eval::isComplexFormula(QStringLiteral("1>2")));
    QVERIFY(!Eval::isComplexFormula(QStringLiteral("1+2*(3)")));
    QCOMPARE(Eval::getTransFormula(QString()), QString());
    QCOMPARE(Eval::getTransFormula(QStringLiteral("asin(x)>=acos(1)<2")), QStringLiteral("G(x)AH(1)F2"));
    QCOMPARE(Eval::getTransFormula(QStringLiteral("floor(round(1))!=abs(2)")), QStringLiteral("X(W(1))CY(2)"));

    char buf[] = "-1*-sqrt(4)";
    Eval::tranString(buf);
    Eval::replaceNegetive(buf);
    QCOMPARE(QByteArray(buf), QByteArray("#1*#Z(4)"));

    char small[] = "abc";
    QVERIFY(!Eval::replaceString(small, 0, 1, "xy"));
    QVERIFY(Eval::replaceString(small, 0, 2, "z"));
    QCOMPARE(QByteArray(small), QByteArray("zc"));
    QVERIFY(!Eval::replaceString(small, 1, 5, "q"));
}

void TestEval::randIsRepeatable()
{
    Eval e;
    QVector<double> first;
    for (int i = 0; i < 20; ++i) {
        const double v = e.eval(QStringLiteral("rand(2,5)+rand(0,1)*10"), true);
        QCOMPARE(e.error(), int(Eval::NoError));
        first << v;
        const double low = std::fmod(v, 10);
        QVERIFY2(low >= 3 && low <= 5, qPrintable(QString::number(v)));
        QCOMPARE(std::floor(v / 10), 1.0);
    }
    // Reseeded on every evaluation: the same text gives the same value.
    QCOMPARE(first.count(first.first()), first.size());
}

void TestEval::longTexts()
{
    // 999 characters: the longest text, in the most operators it can carry.
    QString ops;
    while (ops.size() + 2 <= Eval::MaxText)
        ops += QStringLiteral("1+");
    ops += QLatin1Char('1');
    QCOMPARE(ops.size(), Eval::MaxText);
    Eval e;
    QCOMPARE(e.eval(ops, true), 500.0);
    QCOMPARE(e.error(), int(Eval::NoError));

    QString nested(Eval::MaxText / 2, QLatin1Char('('));
    nested += QLatin1Char('7');
    QCOMPARE(e.eval(nested, true), 7.0);

    // The in-place overload refuses an over-long buffer before touching it.
    QByteArray big(Eval::MaxText + 1, '-');
    QCOMPARE(e.eval(big.data(), true), 0.0);
    QCOMPARE(e.error(), int(Eval::ErrTooLong));
    QCOMPARE(big, QByteArray(Eval::MaxText + 1, '-'));
}

void TestEval::copyKeepsState()
{
    Eval e;
    e.eval(QStringLiteral("1/0"), true);
    const Eval copy = e;
    QCOMPARE(copy.error(), int(Eval::ErrDomain));
}

QEL_TEST_CORE_MAIN(TestEval)
#include "tst_eval.moc"

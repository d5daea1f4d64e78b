#pragma once
// Common start-up of the suite's test programs: every test gets a fresh, private
// HOME, XDG folders and data folder (set by CTest), created empty before the
// application object exists.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtTest>

namespace qeltest {

inline void prepareHome()
{
    const QByteArray home = qgetenv("QEL_TEST_HOME");
    if (home.isEmpty())
        return;
    QDir(QString::fromLocal8Bit(home)).removeRecursively();
    for (const char *var : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                            "XDG_RUNTIME_DIR", "QEL_DATA_DIR"}) {
        const QString dir = QString::fromLocal8Bit(qgetenv(var));
        if (!dir.isEmpty())
            QDir().mkpath(dir);
    }
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty())
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Folder of the suite's built programs (simulator, updater, ...).
inline QString binDir() { return QString::fromLocal8Bit(qgetenv("QEL_BIN_DIR")); }

} // namespace qeltest

// QTEST_MAIN with the private home prepared first; widgets available.
#define QEL_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        qeltest::prepareHome();                                                                    \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

// The same for tests that need no widgets.
#define QEL_TEST_CORE_MAIN(TestObject)                                                             \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        qeltest::prepareHome();                                                                    \
        QCoreApplication app(argc, argv);                                                          \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

// qelctl: the suite's work from the command line. No display is needed.
#include "ccommanddispatch.h"
#include "clistcommand.h"

#include <burnhub.h>

#include <QCoreApplication>
#include <QLoggingCategory>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qelctl"));
    // Standard error carries the command's own error lines only; the libraries'
    // trace comes back with QELCTL_DEBUG=1.
    if (qEnvironmentVariableIsEmpty("QELCTL_DEBUG"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    CCommandDispatch dispatch;
    dispatch.Add(std::make_unique<CListCommand>());
    const int status = dispatch.Run(QCoreApplication::arguments());
    BurnHub::Exitance();
    return status;
}

// qelctl: the suite's work from the command line. No display is needed.
#include "cbackupcommand.h"
#include "cconfigcommand.h"
#include "cconvcommand.h"
#include "cdownloadcommand.h"
#include "ccommanddispatch.h"
#include "cimagebuildcommand.h"
#include "cimageinfocommand.h"
#include "clistcommand.h"
#include "cstartcommand.h"

#include <burnhub.h>
#include <ctranslations.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qelctl"));
    // Standard error carries the command's own error lines only; the libraries'
    // trace comes back with QELCTL_DEBUG=1.
    if (qEnvironmentVariableIsEmpty("QELCTL_DEBUG"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    // The libraries' messages in English, as the command's own texts are.
    CTranslations::LoadTranslations(true);
    BurnHub::Instance()->LoadLanguage(true);
    QTranslator usbTexts;
    if (usbTexts.load(QStringLiteral(":/qelctl_en.qm")))
        QCoreApplication::installTranslator(&usbTexts);
    CCommandDispatch dispatch;
    dispatch.Add(std::make_unique<CListCommand>());
    dispatch.Add(std::make_unique<CConvCommand>(CConvCommand::HexToBin));
    dispatch.Add(std::make_unique<CConvCommand>(CConvCommand::BinToHex));
    dispatch.Add(std::make_unique<CImageBuildCommand>());
    dispatch.Add(std::make_unique<CImageInfoCommand>());
    dispatch.Add(std::make_unique<CDownloadCommand>());
    dispatch.Add(std::make_unique<CConfigGetCommand>());
    dispatch.Add(std::make_unique<CConfigSetCommand>());
    dispatch.Add(std::make_unique<CPasswordCommand>());
    dispatch.Add(std::make_unique<CStartCommand>());
    dispatch.Add(std::make_unique<CCountersCommand>());
    dispatch.Add(std::make_unique<CBackupCommand>());
    dispatch.Add(std::make_unique<CRestoreCommand>());
    const int status = dispatch.Run(QCoreApplication::arguments());
    BurnHub::Exitance();
    return status;
}

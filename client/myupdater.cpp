#include "myupdater.h"

#include "clientevents.h"

#include <cmessagebox.h>

void MyUpdater::FinishUpdate(bool ok, const QString &message)
{
    if (ok && message.endsWith(QLatin1String(".bin"))) {
        ClientEvents::PostFirmDown(message);
        return;
    }
    CMessageBox::Info(m_pParent, tr("提示"), message);
}

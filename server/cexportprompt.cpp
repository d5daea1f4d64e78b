#include "cexportprompt.h"

#include "cmessagebox.h"

#include <QFileDialog>
#include <QInputDialog>

namespace {
CExportPrompt::IdResponder g_idResponder;
CExportPrompt::DirResponder g_dirResponder;

// An input dialog that does not close on a refused answer.
class CheckedInputDialog : public QInputDialog
{
public:
    CheckedInputDialog(QWidget *parent, CExportPrompt::IdCheck check) : QInputDialog(parent), m_check(std::move(check))
    {
    }

    void done(int result) override
    {
        if (result == Accepted && m_check) {
            const QString reason = m_check(textValue());
            if (!reason.isEmpty()) {
                CMessageBox::Warn(this, CExportPrompt::tr("提示"), reason);
                return;
            }
        }
        QInputDialog::done(result);
    }

private:
    CExportPrompt::IdCheck m_check;
};
} // namespace

bool CExportPrompt::AskID(QWidget *parent, const QString &title, const QString &label, QString &id,
                          const IdCheck &check)
{
    if (g_idResponder) {
        // The responder answers again after a refusal, as a person would.
        for (;;) {
            if (!g_idResponder(label, id))
                return false;
            const QString reason = check ? check(id) : QString();
            if (reason.isEmpty())
                return true;
            CMessageBox::Warn(parent, tr("提示"), reason);
        }
    }
    CheckedInputDialog dlg(parent, check);
    dlg.setWindowTitle(title);
    dlg.setLabelText(label);
    dlg.setTextValue(id);
    // Wide enough to show a whole 24-digit ID.
    dlg.resize(qMax(dlg.sizeHint().width(), 420), dlg.sizeHint().height());
    if (dlg.exec() != QDialog::Accepted)
        return false;
    id = dlg.textValue();
    return true;
}

QString CExportPrompt::AskFolder(QWidget *parent, const QString &title, const QString &start)
{
    if (g_dirResponder)
        return g_dirResponder(title, start);
    return QFileDialog::getExistingDirectory(parent, title, start);
}

void CExportPrompt::SetResponders(IdResponder id, DirResponder dir)
{
    g_idResponder = std::move(id);
    g_dirResponder = std::move(dir);
}

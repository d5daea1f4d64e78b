#include "cexportprompt.h"

#include <QFileDialog>
#include <QInputDialog>

namespace {
CExportPrompt::IdResponder g_idResponder;
CExportPrompt::DirResponder g_dirResponder;
} // namespace

bool CExportPrompt::AskID(QWidget *parent, const QString &title, const QString &label, QString &id)
{
    if (g_idResponder)
        return g_idResponder(label, id);
    bool ok = false;
    const QString typed = QInputDialog::getText(parent, title, label, QLineEdit::Normal, id, &ok);
    if (ok)
        id = typed;
    return ok;
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

#pragma once
// The two questions of the image export: which programmer the image is for,
// and where it goes. Tests (and headless runs) install a responder instead.
#include <QCoreApplication>
#include <QString>
#include <functional>

class QWidget;

class CExportPrompt
{
    Q_DECLARE_TR_FUNCTIONS(CExportPrompt)

public:
    // Gets the label and the proposed ID; false for a cancel, else the typed ID in id.
    using IdResponder = std::function<bool(const QString &label, QString &id)>;
    // Gets the title and the starting folder; the chosen folder, empty for a cancel.
    using DirResponder = std::function<QString(const QString &title, const QString &start)>;
    // The reason a typed ID is refused, empty when it is fine.
    using IdCheck = std::function<QString(const QString &id)>;

    // A refused ID is said in a box and the question stays open for correction.
    static bool AskID(QWidget *parent, const QString &title, const QString &label, QString &id, const IdCheck &check);
    static QString AskFolder(QWidget *parent, const QString &title, const QString &start);

    // Empty functions bring the real dialogs back.
    static void SetResponders(IdResponder id, DirResponder dir);
};

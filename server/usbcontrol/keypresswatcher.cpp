#include "keypresswatcher.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

KeyPressWatcher::KeyPressWatcher(QWidget *console, QObject *parent) : QObject(parent), m_pConsole(console) {}

bool KeyPressWatcher::TakesText(const QWidget *widget)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(widget))
        return !line->isReadOnly();
    if (const auto *text = qobject_cast<const QTextEdit *>(widget))
        return !text->isReadOnly();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(widget))
        return !plain->isReadOnly();
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->isEditable();
    return qobject_cast<const QAbstractSpinBox *>(widget) != nullptr;
}

bool KeyPressWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Space)
        return QObject::eventFilter(watched, event);
    if (!m_pConsole || !m_pConsole->isActiveWindow() || TakesText(QApplication::focusWidget()))
        return QObject::eventFilter(watched, event);
    // A held key repeats its press; one press is one start.
    if (!static_cast<QKeyEvent *>(event)->isAutoRepeat())
        emit sig_spacePress();
    return true;
}

#include "keypresswatcher.h"

#include <QKeyEvent>

KeyPressWatcher::KeyPressWatcher(QObject *parent) : QObject(parent) {}

bool KeyPressWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Space)
        return QObject::eventFilter(watched, event);
    // A held key repeats its press; one press is one start.
    if (!static_cast<QKeyEvent *>(event)->isAutoRepeat())
        emit sig_spacePress();
    return true;
}

#pragma once
// Space anywhere in the program triggers the console: installed on the
// application object, it turns each press of the space key into sig_spacePress
// and swallows it, so no focused button or field sees it.
#include <QObject>

class KeyPressWatcher : public QObject
{
    Q_OBJECT
public:
    explicit KeyPressWatcher(QObject *parent = nullptr);

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void sig_spacePress();
};

#pragma once
// Space starts the console's programmers: installed on the application object,
// it turns a press of the space key into sig_spacePress and swallows it, so no
// focused button sees it. Only while the console's window is the active one
// and no text field has the focus: elsewhere a blank is just a blank.
#include <QObject>
#include <QPointer>

class QWidget;

class KeyPressWatcher : public QObject
{
    Q_OBJECT
public:
    // console: the window whose activity the watch depends on.
    explicit KeyPressWatcher(QWidget *console, QObject *parent = nullptr);

    bool eventFilter(QObject *watched, QEvent *event) override;
    // A widget that takes typed text: line and text edits, spin boxes, editable combos.
    static bool TakesText(const QWidget *widget);

signals:
    void sig_spacePress();

private:
    QPointer<QWidget> m_pConsole;
};

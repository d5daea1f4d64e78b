#pragma once
// A tray tip: a small frameless note in the bottom-right corner of the screen
// that closes itself after a while or when clicked. Rich text, so a tip may
// carry a link.
#include <QPointer>
#include <QWidget>

class QLabel;

class TrayMessageDlg : public QWidget
{
    Q_OBJECT
public:
    // Shows one tip; a new tip replaces the one on screen. msecs <= 0 keeps it open.
    // AutoText guesses; text from outside (a server's answer) should say PlainText,
    // so markup in it is shown, not followed.
    static TrayMessageDlg *showTip(const QString &title, const QString &text, int msecs = 8000,
                                   Qt::TextFormat format = Qt::AutoText);
    // The tip on screen, if any (for tests and for closing on exit).
    static TrayMessageDlg *current();

    QString title() const;
    QString text() const;

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    TrayMessageDlg(const QString &title, const QString &text);

    QLabel *m_title = nullptr;
    QLabel *m_text = nullptr;
    static QPointer<TrayMessageDlg> s_current;
};

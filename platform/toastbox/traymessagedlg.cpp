#include "traymessagedlg.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

QPointer<TrayMessageDlg> TrayMessageDlg::s_current;

TrayMessageDlg::TrayMessageDlg(const QString &title, const QString &text)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName(QStringLiteral("TrayMessageDlg"));
    // Its own colours, whatever the theme: a dark theme's light text on this
    // light tip would be near invisible.
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#TrayMessageDlg{background:#fdfdfd;border:1px solid #8aa4c8;}"
                                 "#TrayMessageDlg QLabel{color:#1f2933;background:transparent;}"
                                 "QLabel#tipTitle{font-weight:bold;color:#24476f;}"));
    m_title = new QLabel(title, this);
    m_title->setObjectName(QStringLiteral("tipTitle"));
    m_text = new QLabel(text, this);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::RichText);
    m_text->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_text);
    setFixedWidth(320);
}

TrayMessageDlg *TrayMessageDlg::showTip(const QString &title, const QString &text, int msecs, Qt::TextFormat format)
{
    if (s_current)
        s_current->close();
    // Plain text keeps its line breaks; text that already is HTML stays as it is.
    const bool rich = format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
    const QString html = rich ? text : text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    auto *tip = new TrayMessageDlg(title, html);
    s_current = tip;
    tip->adjustSize();
    if (QScreen *screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        tip->move(area.right() - tip->width() - 12, area.bottom() - tip->height() - 12);
    }
    tip->show();
    if (msecs > 0)
        QTimer::singleShot(msecs, tip, &QWidget::close);
    return tip;
}

TrayMessageDlg *TrayMessageDlg::current()
{
    return s_current.data();
}

QString TrayMessageDlg::title() const
{
    return m_title->text();
}

QString TrayMessageDlg::text() const
{
    return m_text->text();
}

void TrayMessageDlg::mousePressEvent(QMouseEvent *)
{
    close();
}

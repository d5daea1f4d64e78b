#pragma once
// "查看镜像配置": the programmer's image index (number, name, last change);
// one image or all of them can be cleared and one chosen.
#include "cprogerway.h"

#include <QDialog>

class QTreeWidget;

class showimagedlg : public QDialog
{
    Q_OBJECT
public:
    explicit showimagedlg(const CProgerWay &way, QWidget *parent = nullptr);

    const CProgerWay &Way() const { return m_way; }
    // Disk and USB: reads the index again; remote: asks the station for it.
    void Refill();
    // A remote programmer's images, in the order of its answer.
    void ShowImages(const QList<ImageInfo> &images);
    // The chosen image's name after "选择镜像", else empty.
    QString Selected() const { return m_strSelected; }

public slots:
    void on_btn_clearone_clicked();
    void on_btn_clearall_clicked();
    void on_btn_sel_clicked();

signals:
    // Images were removed from the index (a name, or "ALL").
    void sig_hasClear(const QString &fileName);
    // The index changed after one image was removed.
    void sig_UpdateIndex();
    void sigLog(const QString &text);

private:
    QString CurrentName(bool &selected) const;

    CProgerWay m_way;
    QString m_strSelected;
    QTreeWidget *lv_image = nullptr; // child
};

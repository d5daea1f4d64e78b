#pragma once
// The client's update front: a downloaded programmer firmware (".bin") goes to
// the remote page as event 2003; other verdicts are shown in a message box.
#include <updateinter.h>

class MyUpdater : public UpdateInter
{
    Q_OBJECT
public:
    explicit MyUpdater(QWidget *parent = nullptr) : UpdateInter(parent), m_pParent(parent) {}

    void FinishUpdate(bool ok, const QString &message) override;

private:
    QWidget *m_pParent;
};

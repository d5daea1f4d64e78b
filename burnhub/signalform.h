#pragma once
// Edits the handshake signals with a production machine (ProgerSignal).
#include "burnhub_global.h"
#include "progerinfo.h"

#include <QMap>
#include <QWidget>
#include <memory>

namespace Ui {
class signalform;
}

class BURNHUB_EXPORT signalform : public QWidget
{
    Q_OBJECT
public:
    explicit signalform(QWidget *parent = nullptr);
    ~signalform() override;

    // What the two time fields accept.
    static const char TimePattern[];

    void GetProgSignal(ProgerSignal &sig) const;
    void ShowSignal(const QMap<QString, QString> &map);

public slots:
    // The pulse width only matters for a pulse signal (index != 0).
    void SetEditEnable(int index);

protected:
    void changeEvent(QEvent *event) override;

private:
    void FillItems();

    std::unique_ptr<Ui::signalform> ui;
};

// The configuration, signal and firmware forms, offscreen.
#include "qeltest.h"
#include "cmessagebox.h"
#include "configform.h"
#include "progerparam.h"
#include "selfirmform.h"
#include "signalform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QValidator>
#include <QWheelEvent>

namespace {
template <typename T>
T *child(QWidget &form, const char *name)
{
    T *w = form.findChild<T *>(QLatin1String(name));
    if (!w)
        qWarning("no widget %s", name);
    return w;
}

QComboBox *combo(QWidget &form, const char *name)
{
    return child<QComboBox>(form, name);
}

void Wheel(QWidget *w, int delta)
{
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent ev(pos, QPointF(w->mapToGlobal(pos.toPoint())), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &ev);
}

// Reads a parameter file back the way a programmer's file is read: key=value lines.
QMap<QString, QString> ReadKeys(const QString &path)
{
    QMap<QString, QString> map;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return map;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const QStringList kv = QString::fromLocal8Bit(line).remove('\r').split('=');
        if (kv.size() >= 2)
            map.insert(kv.at(0), kv.at(1));
    }
    return map;
}

bool SameConfig(const ProgerConfig &a, const ProgerConfig &b)
{
    return CProgerParam::FormatConfig(a, ModelExtended) == CProgerParam::FormatConfig(b, ModelExtended)
        && CProgerParam::FormatConfig(a, ModelClassic) == CProgerParam::FormatConfig(b, ModelClassic);
}

class ImagePicker : public configform
{
public:
    bool SelAutoImage(QString &name) override
    {
        name = QStringLiteral("fw_v2.img");
        return true;
    }
};
} // namespace

class TestForms : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void wheelLeavesEveryComboUnchanged();
    void rowsOfEachModel();
    void showConfigSelectsByKey();
    void extendedFileRoundTrip();
    void classicFileRoundTrip();
    void legalityRefusesContinuousWith_data();
    void legalityRefusesContinuousWith();
    void iniDefaultsAndRoundTrip();
    void powerUpImageRow();

    void timeValidator_data();
    void timeValidator();
    void levelSignalDisablesPulseWidth();
    void signalMapRoundTrip();

    void firmwareInfo();
    void englishAfterLanguageChange();

private:
    QList<QStringList> m_boxes;
    QTemporaryDir m_dir;
};

void TestForms::init()
{
    m_boxes.clear();
    CMessageBox::SetResponder([this](CMessageBox::Kind kind, const QString &title, const QString &text) {
        m_boxes << QStringList{QString::number(kind), title, text};
        return QMessageBox::Ok;
    });
}

void TestForms::cleanup()
{
    CMessageBox::SetResponder({});
}

void TestForms::wheelLeavesEveryComboUnchanged()
{
    // The same wheel step does move a combo that nobody filters.
    QComboBox plain;
    plain.addItems({"a", "b", "c"});
    plain.setCurrentIndex(1);
    plain.show();
    Wheel(&plain, -120);
    QVERIFY(plain.currentIndex() != 1);

    configform form;
    form.InitModelType(ModelExtended);
    form.show();
    const auto combos = form.findChildren<QComboBox *>();
    QCOMPARE(combos.size(), 22);
    for (QComboBox *c : combos) {
        const int start = c->count() > 1 ? 1 : 0;
        c->setCurrentIndex(start);
        Wheel(c, -120);
        Wheel(c, 120);
        Wheel(c, 120);
        QVERIFY2(c->currentIndex() == start, qPrintable(c->objectName()));
    }
}

void TestForms::rowsOfEachModel()
{
    configform form;
    const auto shown = [&](const char *name) {
        QWidget *w = form.findChild<QWidget *>(QLatin1String(name));
        return w && w->isVisibleTo(&form);
    };
    const QList<const char *> classicOnly{"combo_chip", "label_chip", "combo_speed", "combo_crc", "label_crc",
                                          "combo_function", "combo_auto", "label_auto"};
    const QList<const char *> extendedOnly{"combo_voltage", "combo_continuous", "edit_contInterval",
                                           "label_contInterval", "combo_eraseall", "combo_iap", "combo_swdclk",
                                           "combo_language", "label_language", "combo_reset", "combo_usbmode"};
    const QList<const char *> both{"combo_protect", "combo_machine", "label_machine", "combo_iapbaud",
                                   "combo_powerProtect", "combo_flmDataGear"};

    for (enumProgerModel model : {ModelClassic, ModelExtended, ModelClassic}) {
        form.InitModelType(model);
        const bool classic = model == ModelClassic;
        for (const char *name : classicOnly)
            QVERIFY2(shown(name) == classic, name);
        for (const char *name : extendedOnly)
            QVERIFY2(shown(name) == !classic, name);
        for (const char *name : both)
            QVERIFY2(shown(name), name);
        QVERIFY(!shown("combo_simple") && !shown("label_simple"));
        QVERIFY(!shown("edit_image") && !shown("btn_image") && !shown("label_image"));
    }
}

void TestForms::showConfigSelectsByKey()
{
    configform form;
    form.InitModelType(ModelExtended);
    QComboBox *baud = combo(form, "combo_iapbaud");
    form.ShowConfig({{"iapBaud", "43000"}, {"halfDuplex", "1"}, {"swdClk", "3"}, {"contInterval", "150"}});
    QCOMPARE(baud->currentText(), QString("43000"));
    QCOMPARE(combo(form, "combo_halfDuplex")->currentText(), QString("是"));
    QCOMPARE(combo(form, "combo_swdclk")->currentText(), QString("2MHz"));
    QCOMPARE(child<QLineEdit>(form, "edit_contInterval")->text(), QString("150"));

    // Unknown baud rates, garbage and out-of-range positions leave the form as it was.
    form.ShowConfig({{"iapBaud", "12345"}, {"halfDuplex", "7"}, {"swdClk", "x"}, {"contInterval", "soon"},
                     {"unknown", "1"}});
    QCOMPARE(baud->currentText(), QString("43000"));
    QCOMPARE(combo(form, "combo_halfDuplex")->currentText(), QString("是"));
    QCOMPARE(combo(form, "combo_swdclk")->currentText(), QString("2MHz"));
    QCOMPARE(child<QLineEdit>(form, "edit_contInterval")->text(), QString("150"));

    // Power protection under either spelling; the FLM gear by its data.
    QComboBox *power = combo(form, "combo_powerProtect");
    form.ShowConfig({{"powerProtect", "1"}});
    QCOMPARE(power->currentText(), QString("是"));
    form.ShowConfig({{"powerProtech", "0"}});
    QCOMPARE(power->currentText(), QString("否"));
    form.ShowConfig({{"flmDataGear", "1"}});
    QCOMPARE(combo(form, "combo_flmDataGear")->currentText(), QString("低"));
    form.ShowConfig({{"flmDataGear", "0"}});
    QCOMPARE(combo(form, "combo_flmDataGear")->currentText(), QString("高"));
    ProgerConfig cfg;
    form.GetProgConfig(cfg);
    QCOMPARE(cfg.flmDataGear, 0);
    QCOMPARE(cfg.iapBaud, 43000);
    QCOMPARE(cfg.halfDuplex, 1);
}

void TestForms::extendedFileRoundTrip()
{
    const QMap<QString, QString> values{
        {"voltage", "1"},  {"continuous", "1"}, {"contInterval", "3500"}, {"protect", "1"}, {"eraseall", "1"},
        {"iap", "1"},      {"swdClk", "8"},     {"iapBaud", "57600"},     {"halfDuplex", "1"}, {"en", "1"},
        {"reset", "0"},    {"usbmode", "0"},    {"machineMode", "1"},     {"firstPage", "4"}, {"crcShow", "1"},
        {"powerProtect", "0"}, {"flmDataGear", "1"}};
    configform form;
    form.InitModelType(ModelExtended);
    form.ShowConfig(values);
    const QString path = m_dir.filePath("ext/param.ini");
    QVERIFY(form.SaveConfigFile(path));
    QVERIFY(m_boxes.isEmpty());

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY(text.startsWith("voltage=1\r\ncontinuous=1\ncontInterval=3500\nprotect=1\r\n"));
    QVERIFY(text.endsWith("powerProtect=0\r\nflmDataGear=1\r\n"));
    QCOMPARE(ReadKeys(path), values);

    // What was written reads back into an equal record.
    configform again;
    again.InitModelType(ModelExtended);
    again.ShowConfig(ReadKeys(path));
    ProgerConfig a, b;
    form.GetProgConfig(a);
    again.GetProgConfig(b);
    QVERIFY(SameConfig(a, b));
}

void TestForms::classicFileRoundTrip()
{
    configform form;
    form.ShowConfig({{"simple", "0"}, {"chip", "3"}, {"speed", "1"}, {"protect", "1"}, {"writecrc", "1"},
                     {"machinemode", "1"}, {"functionmode", "1"}, {"autoena", "1"}, {"autoimage", "50%_off.img"}});
    const QString path = m_dir.filePath("classic/param.ini");
    QVERIFY(form.SaveConfigFile(path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("simple=0\r\nchip=3\r\nspeed=1\r\nprotect=1\r\nwritecrc=1\r\nmachinemode=1\r\n"
                                     "functionmode=1\r\nautoena=1\r\nautoimage=50%_off.img\r\n"));
    QCOMPARE(combo(form, "combo_chip")->currentText(), QString("QM-04"));
}

void TestForms::legalityRefusesContinuousWith_data()
{
    QTest::addColumn<QString>("reset");
    QTest::addColumn<QString>("usbmode");
    QTest::addColumn<QStringList>("conflicts");
    QTest::newRow("reset") << "1" << "0" << QStringList{"硬件复位"};
    QTest::newRow("usb hid") << "0" << "1" << QStringList{"USB通信模式"};
    QTest::newRow("usb vcp and reset") << "1" << "2" << QStringList{"硬件复位", "USB通信模式"};
    QTest::newRow("alone") << "0" << "0" << QStringList{};
}

void TestForms::legalityRefusesContinuousWith()
{
    QFETCH(QString, reset);
    QFETCH(QString, usbmode);
    QFETCH(QStringList, conflicts);
    configform form;
    form.InitModelType(ModelExtended);
    form.ShowConfig({{"continuous", "1"}, {"reset", reset}, {"usbmode", usbmode}});
    const QString path = m_dir.filePath(QString("legal_%1%2.ini").arg(reset, usbmode));
    QCOMPARE(form.SaveConfigFile(path), conflicts.isEmpty());
    QCOMPARE(QFile::exists(path), conflicts.isEmpty());
    if (conflicts.isEmpty()) {
        QVERIFY(m_boxes.isEmpty());
        return;
    }
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.at(0).at(0), QString::number(CMessageBox::Warning));
    QCOMPARE(m_boxes.at(0).at(1), QString("错误！"));
    QCOMPARE(m_boxes.at(0).at(2).count("当前配置存在互斥"), conflicts.size());
    for (const QString &c : conflicts)
        QVERIFY(m_boxes.at(0).at(2).contains(c));

    // The classic parameter set has no such conflict to check.
    configform classic;
    classic.ShowConfig({{"continuous", "1"}, {"reset", reset}, {"usbmode", usbmode}});
    QVERIFY(classic.SaveConfigFile(m_dir.filePath("classic_legal.ini")));
    QCOMPARE(m_boxes.size(), 1);
}

void TestForms::iniDefaultsAndRoundTrip()
{
    configform form;
    form.InitModelType(ModelExtended);
    form.ReadIni("forms_empty.ini");
    QCOMPARE(child<QLineEdit>(form, "edit_contInterval")->text(), QString("2000"));
    QCOMPARE(combo(form, "combo_swdclk")->currentText(), QString("15MHz"));
    QCOMPARE(combo(form, "combo_iapbaud")->currentText(), QString("19200"));
    QCOMPARE(combo(form, "combo_crcShow")->currentText(), QString("CRC2"));
    QCOMPARE(combo(form, "combo_powerProtect")->currentText(), QString("是"));
    QCOMPARE(combo(form, "combo_flmDataGear")->currentData().toInt(), 0);

    configform classic;
    classic.ReadIni("forms_empty.ini");
    ProgerConfig c;
    classic.GetProgConfig(c);
    QVERIFY(c.simple);
    QCOMPARE(c.chip, 0);
    QVERIFY(c.autoimage.isEmpty());

    // Values saved by one form come back in another, whatever the model.
    form.ShowConfig({{"voltage", "1"}, {"contInterval", "900"}, {"iapBaud", "115200"}, {"swdClk", "2"},
                     {"crcShow", "0"}, {"powerProtect", "0"}, {"flmDataGear", "1"}, {"machineMode", "1"}});
    form.SaveIni("forms.ini");
    configform back;
    back.InitModelType(ModelExtended);
    back.ReadIni("forms.ini");
    ProgerConfig a, b;
    form.GetProgConfig(a);
    back.GetProgConfig(b);
    QVERIFY(SameConfig(a, b));
    QCOMPARE(b.flmDataGear, 1);
    QCOMPARE(b.iapBaud, 115200);

    classic.ShowConfig({{"chip", "2"}, {"autoena", "1"}, {"autoimage", "a.img"}, {"machinemode", "1"}});
    classic.SaveIni("forms_classic.ini");
    configform classicBack;
    classicBack.ReadIni("forms_classic.ini");
    classic.GetProgConfig(a);
    classicBack.GetProgConfig(b);
    QCOMPARE(CProgerParam::FormatConfig(b, ModelClassic), CProgerParam::FormatConfig(a, ModelClassic));
    QVERIFY(child<QLineEdit>(classicBack, "edit_image")->isVisibleTo(&classicBack));
}

void TestForms::powerUpImageRow()
{
    ImagePicker form;
    QLineEdit *image = child<QLineEdit>(form, "edit_image");
    QPushButton *pick = child<QPushButton>(form, "btn_image");
    QVERIFY(!image->isVisibleTo(&form));

    form.ShowConfig({{"autoena", "1"}});
    QVERIFY(image->isVisibleTo(&form) && pick->isVisibleTo(&form));
    QVERIFY(child<QLabel>(form, "label_image")->isVisibleTo(&form));
    QTest::mouseClick(pick, Qt::LeftButton);
    QCOMPARE(image->text(), QString("fw_v2.img"));

    QComboBox *autoena = combo(form, "combo_auto");
    form.show();
    autoena->setFocus();
    QTest::keyClick(autoena, Qt::Key_Up); // a user choice is an activation
    QCOMPARE(autoena->currentText(), QString("否"));
    QVERIFY(!image->isVisibleTo(&form));

    // The library's own choice.
    configform plain;
    plain.ShowConfig({{"autoena", "1"}});
    QTest::mouseClick(child<QPushButton>(plain, "btn_image"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(plain, "edit_image")->text(), QString("notselected"));
    ProgerConfig cfg;
    plain.GetProgConfig(cfg);
    QVERIFY(cfg.autoena);
    QCOMPARE(cfg.autoimage, QString("notselected"));

    // The extended set keeps the row hidden whatever is read back.
    plain.InitModelType(ModelExtended);
    plain.ShowConfig({{"autoena", "1"}});
    QVERIFY(!child<QLineEdit>(plain, "edit_image")->isVisibleTo(&plain));
}

void TestForms::timeValidator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    for (const char *t : {"80", "250", "500", "25", "99", "100", "499", "1"})
        QTest::newRow(t) << QString(t) << true;
    for (const char *t : {"79", "501", "600", "5000", "0", "-80", "8a"})
        QTest::newRow(t) << QString(t) << false;
}

void TestForms::timeValidator()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    signalform form;
    for (const char *name : {"edit_signalDuration", "edit_startTime"}) {
        QLineEdit *edit = child<QLineEdit>(form, name);
        edit->setEnabled(true);
        QString t = text;
        int pos = 0;
        QCOMPARE(edit->validator()->validate(t, pos) == QValidator::Acceptable, accepted);
        // Typed in key by key, a refused text never stands in the field.
        edit->clear();
        QTest::keyClicks(edit, text);
        QCOMPARE(edit->text() == text, accepted);
    }
}

void TestForms::levelSignalDisablesPulseWidth()
{
    signalform form;
    QComboBox *type = combo(form, "combo_signalType");
    QLineEdit *width = child<QLineEdit>(form, "edit_signalDuration");
    QCOMPARE(type->currentText(), QString("电平信号"));
    QVERIFY(!width->isEnabled());
    type->setCurrentIndex(1);
    QVERIFY(width->isEnabled());
    type->setCurrentIndex(0);
    QVERIFY(!width->isEnabled());
    form.ShowSignal({{"signalType", "1"}});
    QVERIFY(width->isEnabled());
    QVERIFY(child<QLineEdit>(form, "edit_startTime")->isEnabled());
}

void TestForms::signalMapRoundTrip()
{
    signalform form;
    ProgerSignal sig;
    form.GetProgSignal(sig);
    QCOMPARE(CProgerParam::FormatSignal(sig), CProgerParam::FormatSignal(ProgerSignal()));
    QCOMPARE(combo(form, "combo_failSignal")->currentText(), QString("高电平"));

    const QMap<QString, QString> map{{"signalType", "1"}, {"signalDuration", "300"}, {"startLevel", "1"},
                                     {"startTime", "120"}, {"busySignal", "0"}, {"successSignal", "1"},
                                     {"failSignal", "0"}};
    form.ShowSignal(map);
    form.GetProgSignal(sig);
    QCOMPARE(CProgerParam::FormatSignal(sig),
             QString("signalType=1\r\nsignalDuration=300\r\nstartLevel=1\r\nstartTime=120\r\n"
                     "busySignal=0\r\nsuccessSignal=1\r\nfailSignal=0\r\n"));
    // Positions outside the lists are not taken.
    form.ShowSignal({{"busySignal", "2"}, {"startLevel", "x"}});
    form.GetProgSignal(sig);
    QVERIFY(!sig.busySignal && sig.startLevel);
}

void TestForms::firmwareInfo()
{
    selfirmform form;
    QLineEdit *size = child<QLineEdit>(form, "edit_size");
    QLineEdit *date = child<QLineEdit>(form, "edit_date");
    QLineEdit *crc = child<QLineEdit>(form, "edit_crc");

    form.SetPath(m_dir.filePath("nowhere/update.bin"));
    QCOMPARE(size->text(), QString("0"));
    QCOMPARE(crc->text(), QString("00000000"));
    QCOMPARE(date->text(), QDateTime::fromSecsSinceEpoch(0).toString("yyyy-MM-dd hh:mm:ss"));

    // Worked value of the word CRC: the digits 1 to 8 give FEFC54F9; a ninth byte is no whole word.
    const QString path = m_dir.filePath("update.bin");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("123456789");
    f.close();
    const QDateTime stamp(QDate(2024, 3, 5), QTime(14, 7, 9));
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    f.close();
    child<QLineEdit>(form, "edit_path")->setText(path);
    QCOMPARE(form.GetSelPath(), path);
    QCOMPARE(size->text(), QString("9"));
    QCOMPARE(crc->text(), QString("FEFC54F9"));
    QCOMPARE(date->text(), QString("2024-03-05 14:07:09"));

    QPushButton *open = child<QPushButton>(form, "btn_open");
    form.SetSendFirmUI(true);
    QVERIFY(!open->isEnabled());
    form.SetSendFirmUI(false);
    QVERIFY(open->isEnabled());
}

void TestForms::englishAfterLanguageChange()
{
    configform config;
    config.InitModelType(ModelExtended);
    config.ShowConfig({{"powerProtect", "1"}, {"flmDataGear", "1"}});
    signalform signal;
    selfirmform firm;
    QCOMPARE(child<QLabel>(firm, "label_tip")->text(), QString("提示:下发固件文件并重启下载器后，即可完成下载器固件更新。"));

    QTranslator english;
    QVERIFY(english.load(":/burnhub_en.qm"));
    QVERIFY(QCoreApplication::installTranslator(&english));
    QCoreApplication::processEvents();
    QCOMPARE(child<QLabel>(config, "label_powerProtect")->text(), english.translate("configform", "电源保护："));
    QVERIFY(!child<QLabel>(config, "label_powerProtect")->text().contains("电源"));
    QCOMPARE(combo(config, "combo_powerProtect")->currentText(), english.translate("configform", "是"));
    QCOMPARE(combo(config, "combo_flmDataGear")->currentText(), english.translate("configform", "低"));
    QCOMPARE(combo(signal, "combo_failSignal")->currentText(), english.translate("signalform", "高电平"));
    QCOMPARE(child<QLabel>(firm, "label_tip")->text(),
             english.translate("selfirmform", "提示：\n下发固件文件并重启下载器后，将更新下载器固件."));
    QVERIFY(!child<QLabel>(firm, "label_tip")->text().contains("提示"));

    // Back to Chinese: the tip keeps its two-line form.
    QCoreApplication::removeTranslator(&english);
    QCoreApplication::processEvents();
    QCOMPARE(combo(config, "combo_powerProtect")->currentText(), QString("是"));
    QCOMPARE(child<QLabel>(firm, "label_tip")->text(), QString("提示：\n下发固件文件并重启下载器后，将更新下载器固件."));
    // The selection survives the change.
    ProgerConfig cfg;
    config.GetProgConfig(cfg);
    QCOMPARE(cfg.flmDataGear, 1);
    QCOMPARE(cfg.powerProtect, 1);
}

QEL_TEST_MAIN(TestForms)
#include "tst_forms.moc"

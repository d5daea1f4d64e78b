#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "burnhub.h"
#include "backuploaddlg.h"
#include "cexportprompt.h"
#include "cimagesettings.h"
#include "clogfile.h"
#include "clogview.h"
#include "csafefile.h"
#include "cmessagebox.h"
#include "cnamevalidator.h"
#include "configform.h"
#include "cprogramlanguage.h"
#include "cremoteactions.h"
#include "cremoterecordsync.h"
#include "cremoteservice.h"
#include "cstoretools.h"
#include "ctooltext.h"
#include "cpubactions.h"
#include "cusbconsole.h"
#include "cusbprogmanager.h"
#include "cviewerset.h"
#include "ctranslations.h"
#include "functool.h"
#include "moduleid.h"
#include "myfreshcheck.h"
#include "myvalidator.h"
#include "passworddlg.h"
#include "prototext.h"
#include "remoteserver.h"
#include "serverdefs.h"
#include "serverevents.h"
#include "skindlg.h"
#include "udisk.h"
#include "widgetbay.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QToolTip>

namespace {
enum Column { ColLocation, ColID, ColName, ColModel, ColVer, ColHW, ColumnCount };

constexpr int kProgerRole = Qt::UserRole + 1;
constexpr int kImageCount = 200;
constexpr int kLimitedImages = 50; // numbers 0..49 support a download limit
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    ServerEvents::SetReceiver(this);
    // clicked(bool) would pass the button's unchecked state as "do not ask":
    // a click on the button always asks first.
    disconnect(ui->btn_downimage, SIGNAL(clicked(bool)), this, SLOT(on_btn_downimage_clicked(bool)));
    connect(ui->btn_downimage, &QPushButton::clicked, this, [this]() { on_btn_downimage_clicked(true); });

    ResetConfigForm();
    ui->splitter_main->setStretchFactor(0, 3);
    ui->splitter_main->setStretchFactor(1, 2);
    ui->splitter_main->setSizes({780, 460});
    ui->splitter_left->setStretchFactor(0, 2);
    ui->splitter_left->setStretchFactor(1, 3);

    m_pFresh = new MyFreshCheck(this);
    m_pCloud = new remoteServer(this);
    m_pRecordSync = new CRemoteRecordSync(m_pCloud, [this](const QString &text) { Log(text); }, this);
    m_pServiceState = new QLabel(ui->statusbar);
    ui->statusbar->addWidget(m_pServiceState);

    // Remote-service endpoints; the services themselves start only on request.
    CPubActions ini(true);
    const QString file = ServerDefs::IniFile();
    m_strBrokerHost = ini.GetString(QStringLiteral("REMOTE"), QStringLiteral("BROKER"), QStringLiteral("127.0.0.1"), file);
    m_nMqttPort = ini.GetInt(QStringLiteral("REMOTE"), QStringLiteral("MQTTPORT"), 61613, file);
    m_nNsqPort = ini.GetInt(QStringLiteral("REMOTE"), QStringLiteral("NSQPORT"), 4161, file);
    m_bDisScan = ini.GetInt(QStringLiteral("INI"), QStringLiteral("DISSCAN"), 0, file) == 1;

    ui->lv_prog->setColumnCount(ColumnCount);
    InitImagePanel();
    InitActions();

    connect(ui->lv_prog, &QTreeWidget::itemChanged, this, &MainWindow::tree_itemChanged);
    connect(ui->lv_prog, &QTreeWidget::itemClicked, this, &MainWindow::tree_itemClicked);
    connect(ui->lv_prog, &QTreeWidget::itemDoubleClicked, this, &MainWindow::tree_itemDoubleClicked);
    connect(ui->lv_prog, &QWidget::customContextMenuRequested, this, &MainWindow::tree_mouseEvent);
    connect(ui->edit_out, &QWidget::customContextMenuRequested, this, &MainWindow::edit_out_rightButtonClicked);
    connect(ui->treeBin, &BinTreeWidget::sig_changed, this, &MainWindow::RefreshImageCRC);
    connect(ui->treeBin, &BinTreeWidget::sig_pathChosen, this, [this](int row, const QString &path) {
        const QString addr = CImagePanel::AddrOfFile(path);
        if (!addr.isEmpty())
            ui->treeBin->SetAddr(row, addr);
    });

    m_pUDisk = std::make_unique<uDisk>();
    m_pUDisk->SetSearchDirs(BurnHub::Instance()->GetSearchDirs());
    connect(m_pUDisk.get(), &uDisk::sigUDiskCome, this, &MainWindow::UDiskCome);
    connect(m_pUDisk.get(), &uDisk::sigUDiskRemove, this, &MainWindow::UDiskRemove);
    connect(m_pUDisk.get(), &uDisk::sigHidCome, this, &MainWindow::ScanHIDProg);
    connect(m_pUDisk.get(), &uDisk::sigHidRemove, this, &MainWindow::HidRemove);
    connect(m_pUDisk.get(), &uDisk::sigPortCome, this, &MainWindow::PortCome);
    connect(m_pUDisk.get(), &uDisk::sigPortRemove, this, &MainWindow::PortRemove);
    m_pUsb = std::make_unique<CUsbProgManager>(this);
    m_pRemote = new CRemoteActions(this, ui->actionserver, ui->actionmqtt, ui->actionnsq, m_pServiceState);
    m_pViewers = new CViewerSet(this, m_pRemote->Service(), m_pUsb.get(), [this](const QString &text) { Log(text); });
    m_pViewers->SetSelectedCheck([this]() { return GetSelectedProger() != nullptr; });
    m_pStoreTools = new CStoreTools(this, m_pCloud, ui->actionupload, ui->actionfTest, ui->actionrepair);
    m_pStoreTools->SetLogger([this](const QString &text) { Log(text); });
    m_pStoreTools->SetImageBuilder([this](COfflineUploader::HomeImage &image) {
        // The panel's image as it stands, under its own name in the working folder.
        CPanelValues values = PanelValues();
        QString err;
        if (!CImageBuilder::CheckImageName(values.strName, err)) {
            Log(err);
            return false;
        }
        const QString path = QDir(ServerDefs::WorkDir()).filePath(values.strName);
        CImageResult result;
        CPanelMessage msg;
        if (!CImagePanel(ServerDefs::WorkDir()).Build(values, nullptr, QString(), path, result, msg)) {
            Log(msg.text);
            return false;
        }
        image = {path, values.strName, result.m_strCRC};
        return true;
    });

    LoadImageSettings();
    ApplyLanguage(CTranslations::GetLanguage(ServerDefs::IniFile()));
    RetranslateTexts();
    if (!m_bDisScan)
        RefreshLocalProg();
    m_pUsb->StartDiscovery();
}

MainWindow::~MainWindow()
{
    // The console's programmers go before the rows and the log they report to.
    m_pUsb.reset();
    if (ServerEvents::Receiver() == this)
        ServerEvents::SetReceiver(nullptr);
    // Rows point into the list; drop them before the list goes.
    const QSignalBlocker block(ui->lv_prog);
    ui->lv_prog->clear();
}

// ---------------------------------------------------------------- set-up

void MainWindow::InitImagePanel()
{
    for (int i = 0; i < kImageCount; ++i) {
        ui->combo_index->addItem(QString::number(i), i);
        if (i == kLimitedImages - 1)
            ui->combo_index->insertSeparator(ui->combo_index->count());
    }
    // Digits only; a number out of range is refused with its reason at the download.
    ui->combo_index->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), ui->combo_index));
    ui->combo_index->setInsertPolicy(QComboBox::NoInsert);
    connect(ui->combo_index, &QComboBox::editTextChanged, this, &MainWindow::comboindex_editedtext);
    connect(ui->combo_index, QOverload<int>::of(&QComboBox::activated), this, &MainWindow::comboindex_activated);
    connect(ui->combo_aes, QOverload<int>::of(&QComboBox::activated), this, &MainWindow::comboaes_activated);

    ui->combo_aes->addItem(tr("否"), false);
    ui->combo_aes->addItem(tr("是"), true);
    for (int i = 0; i < CImageBuilder::ChipCount; ++i)
        ui->combo_chip->addItem(CImageBuilder::ChipName(i), i);

    auto *nameValidator = new CNameValidator(ui->edit_name);
    ui->edit_name->setValidator(nameValidator);
    connect(nameValidator, &CNameValidator::sigRefused, this, [this](const QString &text) {
        QToolTip::showText(ui->edit_name->mapToGlobal(QPoint(0, ui->edit_name->height())), text, ui->edit_name);
    });
    ui->edit_count->setValidator(new MyIntValidator(0, 0x7FFFFFFF, ui->edit_count));
    ui->edit_ver->setValidator(new MyIntValidator(0, 0x7FFFFFFF, ui->edit_ver));
}

void MainWindow::InitActions()
{
    // Every menu and tool-bar action goes through one dispatcher.
    for (QAction *action : findChildren<QAction *>()) {
        if (action->menu() || action->isSeparator() || action->parent() != this)
            continue;
        connect(action, &QAction::triggered, this, [this, action]() { actionTriggered(action); });
    }
    // Long texts (English) go on two lines under the icon, so every action fits
    // the tool bar; kept up as texts change (language, services started).
    for (QAction *action : ui->toolBar->actions()) {
        const auto wrap = [action]() {
            const QString text = CToolText::Wrap(action->text());
            if (action->iconText() != text)
                action->setIconText(text);
        };
        connect(action, &QAction::changed, this, wrap);
        wrap();
    }
}

void MainWindow::RetranslateTexts()
{
    setWindowTitle(tr("QEL下载器服务端") + QLatin1Char(' ') + ServerDefs::Version());
    ui->lv_prog->setHeaderLabels({tr("位置"), tr("ID"), tr("名称"), tr("型号"), tr("固件版本"), tr("硬件版本")});
    ResizeProgColumns();
    ShowConfigTitle();
    // The remote services are off until the user starts them.
    ui->actionserver->setText(tr("开启远程服务"));
    m_pServiceState->setText(tr("远程服务已关闭"));
    if (m_pRemote)
        m_pRemote->ShowState();
}

void MainWindow::ApplyLanguage(int language)
{
    const bool english = CProgramLanguage::Apply(m_translator, language);
    WidgetBay::LoadLanguage(english);
    ProtoText::LoadLanguage(english);
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        RetranslateTexts();
        ui->combo_aes->setItemText(0, tr("否"));
        ui->combo_aes->setItemText(1, tr("是"));
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::LoadImageSettings()
{
    CImageSettings s;
    s.Load();
    if (s.nEncrypt >= 0 && s.nEncrypt < ui->combo_aes->count())
        ui->combo_aes->setCurrentIndex(s.nEncrypt);
    ui->edit_name->setText(s.strName);
    const int index = ui->combo_index->findData(s.nIndex);
    if (index >= 0)
        ui->combo_index->setCurrentIndex(index);
    ui->edit_count->setText(s.strLimit);
    if (s.nChip >= 0 && s.nChip < ui->combo_chip->count())
        ui->combo_chip->setCurrentIndex(s.nChip);
    ui->edit_ver->setText(s.strVersion);
    ui->edit_imagecrc->setText(s.strCrc);
    ui->treeBin->SetBinInfosDesc(CImageSettings::LoadBinDesc(s.nIndex));
}

void MainWindow::SaveImageSettings()
{
    CImageSettings s;
    s.Load();
    s.nEncrypt = ui->combo_aes->currentIndex();
    s.strName = ui->edit_name->text();
    s.nIndex = CurrentImageIndex();
    s.strLimit = ui->edit_count->text();
    s.nChip = ui->combo_chip->currentIndex();
    const QList<BinInfo> bins = ui->treeBin->GetBinInfos();
    if (!bins.isEmpty())
        s.strAddr = bins.first().m_strAddr;
    s.strVersion = ui->edit_ver->text();
    s.strCrc = ui->edit_imagecrc->text();
    s.Save();
    CImageSettings::SaveBinDesc(s.nIndex, ui->treeBin->GetBinInfosDesc());
}

int MainWindow::CurrentImageIndex() const
{
    bool ok = false;
    const int index = ui->combo_index->currentText().trimmed().toInt(&ok);
    return ok ? index : -1;
}

// ---------------------------------------------------------------- log

void MainWindow::Log(const QString &text)
{
    CLogView::Append(ui->edit_out, CLogFile::Line(QDateTime::currentDateTime(), text));
}

QString MainWindow::LogText() const
{
    return ui->edit_out->toPlainText();
}

void MainWindow::customEvent(QEvent *event)
{
    switch (int(event->type())) {
    case ServerEvents::LogEvent:
        Log(static_cast<ServerEvents::CTextEvent *>(event)->m_strText);
        break;
    case ServerEvents::ProgerGoneEvent: {
        const MyProger &gone = static_cast<ServerEvents::CProgerGoneEvent *>(event)->m_proger;
        const bool tcp = gone.RemoteVia() == MyProger::ViaTcp;
        const QString where = tcp ? gone.m_strRemoteIP
                                  : (gone.RemoteVia() == MyProger::ViaNsq ? QStringLiteral("NSQ") : QStringLiteral("MQTT"));
        const QString what = tcp ? QString::number(gone.m_nRemotePort) : gone.m_strUID;
        Log(tr("断开远程下载器 %1:%2").arg(where, what));
        RemoveRemoteProger(gone);
        break;
    }
    case ServerEvents::FirmDownEvent: {
        const QString path = static_cast<ServerEvents::CTextEvent *>(event)->m_strText;
        Log(tr("固件下载成功:") + path);
        if (const MyProger *proger = GetSelectedProger())
            m_pViewers->OpenFirm(*proger, path);
        break;
    }
    default:
        QMainWindow::customEvent(event);
    }
}

void MainWindow::edit_out_rightButtonClicked(QPoint point)
{
    QMenu menu(this);
    QAction *clear = menu.addAction(tr("清除"));
    if (menu.exec(ui->edit_out->viewport()->mapToGlobal(point)) == clear)
        ui->edit_out->clear();
}

void MainWindow::SaveLog()
{
    QString path;
    if (CLogFile::Save(ServerDefs::WorkDir(), ui->edit_out->toPlainText(), QDateTime::currentDateTime(), path)) {
        qDebug() << "MainWindow::SaveLog" << path;
        Log(tr("保存日志完成: %1").arg(QDir::toNativeSeparators(path)));
    } else {
        Log(tr("保存日志失败"));
    }
}

// ---------------------------------------------------------------- programmer list

QTreeWidgetItem *MainWindow::AddRow(MyProger *proger)
{
    m_bFillingRow = true;
    auto *item = new QTreeWidgetItem(ui->lv_prog);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setData(ColLocation, kProgerRole, QVariant::fromValue<quintptr>(quintptr(proger)));
    item->setCheckState(ColLocation, Qt::Unchecked);
    FillRow(item, *proger);
    m_bFillingRow = false;
    ResizeProgColumns();
    return item;
}

void MainWindow::ResizeProgColumns()
{
    // Wide enough for the rows and for the header's own text.
    for (int column = 0; column < ColumnCount; ++column)
        ui->lv_prog->resizeColumnToContents(column);
}

void MainWindow::FillRow(QTreeWidgetItem *item, const MyProger &proger)
{
    const bool filling = m_bFillingRow;
    m_bFillingRow = true;
    item->setText(ColLocation, proger.LocationText());
    item->setText(ColID, proger.m_strID);
    item->setText(ColName, proger.GetDesc());
    item->setText(ColModel, proger.m_strModel);
    item->setText(ColVer, proger.m_strVer);
    item->setText(ColHW, proger.m_strHW);
    m_bFillingRow = filling;
}

MyProger *MainWindow::ProgerOf(const QTreeWidgetItem *item) const
{
    if (!item)
        return nullptr;
    auto *proger = reinterpret_cast<MyProger *>(item->data(ColLocation, kProgerRole).value<quintptr>());
    // Only objects the list still owns.
    return m_progers.IndexOf(proger) >= 0 ? proger : nullptr;
}

QTreeWidgetItem *MainWindow::ItemOf(const MyProger *proger) const
{
    for (int i = 0; i < ui->lv_prog->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = ui->lv_prog->topLevelItem(i);
        if (item->data(ColLocation, kProgerRole).value<quintptr>() == quintptr(proger))
            return item;
    }
    return nullptr;
}

void MainWindow::RemoveRow(MyProger *proger)
{
    const bool wasSelected = GetSelectedProger() == proger;
    if (m_pStoreTools)
        m_pStoreTools->ProgerGone(proger->m_strID);
    {
        const QSignalBlocker block(ui->lv_prog);
        delete ItemOf(proger);
    }
    m_progers.Remove(proger);
    if (wasSelected)
        ShowSelectedConfig();
}

MyProger *MainWindow::GetSelectedProger() const
{
    return m_progers.Selected();
}

MyProger *MainWindow::RequireSelected()
{
    MyProger *proger = GetSelectedProger();
    if (!proger)
        Warn(tr("下载器未选择!"));
    return proger;
}

void MainWindow::RefreshLocalProg()
{
    if (m_bDisScan) {
        for (MyProger *disk : m_progers.Disks())
            RemoveRow(disk);
        Log(tr("本地下载器刷新失败, 需开启自动扫描磁盘"));
        return;
    }
    QList<ProgerInfo> listed;
    for (const ProgerInfo &info : BurnHub::Instance()->GetProgerList()) {
        if (CProgerList::IsListedModel(info.m_strModel))
            listed << info;
        CheckFirmware(MyProger(info));
    }
    // Rows that stay keep their ticks; only what came or went is said.
    const CProgerList::DiskChanges changes = m_progers.CompareDisks(listed);
    for (MyProger *gone : changes.gone) {
        Log(tr("下载器已移除: %1").arg(gone->Name()));
        RemoveRow(gone);
    }
    for (const auto &kept : changes.kept)
        UpdateOrAddRow(kept.first, MyProger(kept.second));
    for (const ProgerInfo &info : changes.came) {
        const MyProger *added = UpdateOrAddRow(nullptr, MyProger(info));
        Log(tr("下载器已接入: %1").arg(added->Name()));
    }
    Log(tr("本地下载器已刷新"));
}

MyProger *MainWindow::AddRemoteProger(const MyProger &proger)
{
    return UpdateOrAddRow(m_progers.FindRemote(proger), proger);
}

// An existing row of the same programmer is refreshed; otherwise one is added.
MyProger *MainWindow::UpdateOrAddRow(MyProger *known, const MyProger &proger)
{
    if (known) {
        *known = proger;
        if (QTreeWidgetItem *item = ItemOf(known))
            FillRow(item, *known);
        return known;
    }
    MyProger *added = m_progers.Append(proger);
    AddRow(added);
    if (m_pStoreTools)
        m_pStoreTools->ProgerCame(added->m_strID, m_bTestMode);
    return added;
}

bool MainWindow::RemoveRemoteProger(const MyProger &key)
{
    MyProger *known = m_progers.FindRemote(key);
    if (!known)
        return false;
    RemoveRow(known);
    return true;
}

void MainWindow::ShowRemoteConfig(const MyProger &key, const QMap<QString, QString> &config)
{
    MyProger *selected = GetSelectedProger();
    if (selected && selected->SameRemote(key))
        m_pConfigForm->ShowConfig(config);
    m_pViewers->ShowRemoteConfig(key, config);
}

void MainWindow::ShowRemoteImages(const MyProger &key, const QList<ImageInfo> &images)
{
    if (m_pViewers->ShowRemoteImages(key, images))
        return;
    // No viewer for them: the log keeps them.
    QStringList lines;
    for (const ImageInfo &image : images)
        lines << QStringLiteral("%1 %2 %3").arg(QString::number(image.m_nIndex), image.m_strName, image.m_strTime);
    Log(QStringLiteral("%1: ").arg(key.LocationText()) + (lines.isEmpty() ? QStringLiteral("-") : lines.join(QStringLiteral("; "))));
}

void MainWindow::RefreshRemoteImages(const MyProger &key)
{
    m_pViewers->RefreshRemoteImages(key);
}

void MainWindow::OnRemoteFileLoaded(const MyProger &key, const QString &name, bool ok)
{
    m_pViewers->OnRemoteFileLoaded(key, name, ok);
}

void MainWindow::tree_itemChanged(QTreeWidgetItem *item, int column)
{
    if (m_bFillingRow || column != ColLocation)
        return;
    MyProger *proger = ProgerOf(item);
    if (!proger)
        return;
    const bool checked = item->checkState(ColLocation) == Qt::Checked;
    if (checked == m_progers.IsChecked(proger))
        return;
    m_progers.SetChecked(proger, checked);
    ShowSelectedConfig();
}

void MainWindow::tree_itemClicked(QTreeWidgetItem *item, int)
{
    if (item && item->checkState(ColLocation) == Qt::Checked)
        ShowSelectedConfig();
}

void MainWindow::tree_itemDoubleClicked(QTreeWidgetItem *item, int)
{
    // Toggling the tick reaches tree_itemChanged, which shows the configuration.
    if (item)
        item->setCheckState(ColLocation, item->checkState(ColLocation) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void MainWindow::tree_mouseEvent(QPoint point)
{
    MyProger *proger = ProgerOf(ui->lv_prog->itemAt(point));
    if (!proger)
        return;
    const MyProger copy = *proger;
    QMenu menu(this);
    QAction *copySerial = menu.addAction(tr("复制序列号"));
    QAction *eject = copy.IsDisk() ? menu.addAction(tr("弹出设备")) : nullptr;
    QAction *chosen = menu.exec(ui->lv_prog->viewport()->mapToGlobal(point));
    if (!chosen)
        return;
    if (chosen == copySerial)
        CopySerial(copy);
    else if (chosen == eject)
        EjectProger(copy);
}

void MainWindow::CopySerial(const MyProger &proger)
{
    QGuiApplication::clipboard()->setText(proger.m_strID);
    Log(tr("序列号已复制至剪切板！"));
}

void MainWindow::EjectProger(const MyProger &proger)
{
    const QString question = tr("即将弹出本地下载器 %1 (%2)，请确认没有正在进行的文件操作。是否继续?")
                                 .arg(proger.m_strRoot, proger.m_strID);
    if (CMessageBox::Ask(this, tr("提示"), question) != QMessageBox::Yes)
        return;
    if (!m_pUDisk) {
        Warn(tr("设备监测接口未初始化"));
        return;
    }
    QString msg;
    if (!m_pUDisk->EjectDisk(proger.m_strRoot, msg)) {
        Warn(tr("弹出设备失败"));
        Log(tr("本地下载器弹出失败: %1").arg(msg));
    }
}

void MainWindow::ResetConfigForm()
{
    // A fresh form shows nothing of the programmer seen before, only the defaults.
    delete m_pConfigForm;
    m_pConfigForm = new configform(ui->widget_config);
    m_pConfigForm->InitModelType(ModelExtended);
    m_pConfigForm->InitModelParam();
    m_pConfigForm->ReadIni(ServerDefs::IniFile());
    ui->layout_config->addWidget(m_pConfigForm);
}

void MainWindow::ShowSelectedConfig()
{
    MyProger *proger = GetSelectedProger();
    // Nothing ticked (or the programmer went): the panel shows no one's values.
    if (!proger) {
        if (!m_strConfigName.isEmpty()) {
            ResetConfigForm();
            m_strConfigName.clear();
            ShowConfigTitle();
        }
        return;
    }
    m_strConfigName = proger->Name();
    ShowConfigTitle();
    if (proger->m_bRemote) {
        ResetConfigForm();
        // The station's answer fills the form.
        m_pRemote->Service()->RequestConfig(*proger);
        return;
    }
    BurnHub *hub = BurnHub::Instance();
    if (proger->m_bHID || proger->m_bVCP)
        hub->SetUSBProgUID(proger->m_strID);
    else
        hub->SetProgRoot(proger->m_strRoot);
    QMap<QString, QString> config;
    QString err;
    if (hub->ReadConfig(config, err)) {
        m_pConfigForm->ShowConfig(config);
    } else {
        ResetConfigForm();
        Log(tr("本地下载器配置读取失败!"));
        qDebug() << "MainWindow::ShowSelectedConfig" << err;
    }
}

void MainWindow::ShowConfigTitle()
{
    const QString title = tr("下载器配置");
    ui->group_config->setTitle(m_strConfigName.isEmpty() ? title : QStringLiteral("%1 - %2").arg(title, m_strConfigName));
}

// ---------------------------------------------------------------- devices

void MainWindow::UDiskCome(QString uDiskName)
{
    qDebug("u disk come: %s", qPrintable(uDiskName));
    Log(tr("检测到设备接入 ") + uDiskName);
    RefreshLocalProg();
}

void MainWindow::UDiskRemove(QString uDiskName)
{
    qDebug() << "u disk remove:" << uDiskName;
    Log(tr("检测到设备退出"));
    RefreshLocalProg();
}

void MainWindow::HidRemove(QString devPath)
{
    m_pUsb->HidRemove(devPath);
}

void MainWindow::ScanHIDProg()
{
    m_pUsb->ScanHid();
}

void MainWindow::DeleteUSBProgFile(QString fileName)
{
    // The image manager has removed the file from the selected programmer's PC-side folder.
    const MyProger *proger = GetSelectedProger();
    if (proger && (proger->m_bHID || proger->m_bVCP))
        m_pUsb->DeleteFile(proger->m_strRoot, fileName);
}

void MainWindow::PortCome(QString com)
{
    m_pUsb->PortCome(com);
}

void MainWindow::PortRemove(QString com)
{
    m_pUsb->PortRemove(com);
}

MyProger *MainWindow::FindUsbProger(const QString &key) const
{
    for (int i = 0; i < m_progers.Count(); ++i) {
        MyProger *row = m_progers.At(i);
        if ((row->m_bHID || row->m_bVCP) && row->m_strRoot == key)
            return row;
    }
    return nullptr;
}

MyProger *MainWindow::AddUsbProger(const MyProger &proger)
{
    return UpdateOrAddRow(FindUsbProger(proger.m_strRoot), proger);
}

bool MainWindow::RemoveUsbProger(const QString &key)
{
    MyProger *known = FindUsbProger(key);
    if (known)
        RemoveRow(known);
    return known != nullptr;
}

bool MainWindow::SelectUsbProger(const QString &key)
{
    MyProger *proger = FindUsbProger(key);
    QTreeWidgetItem *target = proger ? ItemOf(proger) : nullptr;
    if (!target)
        return false;
    for (int i = 0; i < ui->lv_prog->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = ui->lv_prog->topLevelItem(i);
        if (item != target)
            item->setCheckState(ColLocation, Qt::Unchecked);
    }
    target->setCheckState(ColLocation, Qt::Checked);
    return true;
}

void MainWindow::CheckFirmware(const MyProger &proger)
{
    if (m_bTestMode || !CProgerList::NeedsFirmCheck(proger.m_strModel)
        || !m_firmChecked.FirstTime(proger.m_strID, proger.m_strVer))
        return;
    Log(tr("下载器固件检查更新...") + QLatin1Char(' ') + proger.m_strID);
    m_pFresh->CheckUpdate(QStringLiteral("下载器固件检查更新"), ServerDefs::IniFile(), proger.m_strVer, true,
                          ServerDefs::FirmModule(), true);
}

// ---------------------------------------------------------------- image panel

void MainWindow::on_btn_add_clicked()
{
    // The first program starts at the address used last; later ones are typed in.
    QString addr = QStringLiteral("0x0000");
    if (ui->treeBin->topLevelItemCount() == 0) {
        CImageSettings s;
        s.Load();
        addr = s.strAddr;
    }
    ui->treeBin->AddBinInfo(addr);
}

void MainWindow::on_btn_del_clicked()
{
    ui->treeBin->DeleteCurrent();
}

void MainWindow::on_btn_delall_clicked()
{
    if (ui->treeBin->topLevelItemCount() == 0
        || CMessageBox::Ask(this, tr("提示"), tr("删除全部程序条目，是否继续?")) != QMessageBox::Yes)
        return;
    ui->treeBin->DeleteAll();
}

void MainWindow::on_btn_load_clicked()
{
    const int index = CurrentImageIndex();
    if (index < 0)
        return;
    ui->treeBin->SetBinInfosDesc(CImageSettings::LoadBinDesc(index));
}

void MainWindow::on_btn_downimage_clicked(bool yes)
{
    DownImage(PanelValues(), GetSelectedProger(), yes);
}

void MainWindow::DownUsbImage(const QStringList &keys, const QString &mergedPath, quint32 base)
{
    CPanelValues values = PanelValues();
    if (!mergedPath.isEmpty())
        values.bins = {BinInfo{QStringLiteral("0x") + QString::number(base, 16).toUpper(), mergedPath}};
    // Each programmer as it stands in the list, without selecting it: selecting
    // loads its own configuration into the panel.
    // What stops one build (no name, a bad program list) stops them all: one message.
    for (const QString &key : keys) {
        const MyProger *proger = FindUsbProger(key);
        if (proger && !DownImage(values, proger, false))
            return;
    }
}

void MainWindow::DownUsbConfig(const QStringList &keys)
{
    if (keys.isEmpty()
        || CMessageBox::Ask(this, tr("提示"), tr("下发镜像将修改下载器的参数配置，是否继续?")) != QMessageBox::Yes)
        return;
    QString path;
    if (!SaveParamFile(path))
        return;
    for (const QString &key : keys) {
        if (const MyProger *proger = FindUsbProger(key))
            Log(tr("下发配置文件: %1").arg(proger->Name()));
        m_pUsb->SendFileToProger(key, path);
    }
}

bool MainWindow::SaveParamFile(QString &path)
{
    path = CImagePanel(ServerDefs::WorkDir()).ParamPath();
    if (!m_pConfigForm->SaveConfigFile(path)) {
        Error(tr("配置文件保存失败!"));
        return false;
    }
    SaveImageSettings();
    return true;
}

bool MainWindow::DownImage(const CPanelValues &values, const MyProger *selected, bool ask)
{
    QString name;
    int index = -1;
    CPanelMessage msg;
    if (!CImagePanel::CheckDownload(values, selected, name, index, msg)) {
        ShowPanelMessage(msg);
        return false;
    }
    // A copy: the row may go while a question is open.
    const MyProger target = *selected;
    if (ask && CMessageBox::Ask(this, tr("提示"), tr("下发镜像将修改下载器的镜像配置，是否继续?")) != QMessageBox::Yes)
        return false;

    const CImagePanel panel(ServerDefs::WorkDir());
    const QString path = panel.ImagePath(name);
    if (!BuildImage(values, &target, QString(), path, msg))
        return false;

    switch (CImagePanel::KindOf(&target)) {
    case CImagePanel::KindUsb: {
        const bool ready = CImagePanel::PrepareUsbImage(target, index, name, msg);
        ShowPanelMessage(msg);
        if (ready)
            SendUsbFile(target, path, ui->edit_imagecrc->text(), index);
        break;
    }
    case CImagePanel::KindDisk: {
        QString line;
        CImagePanel::DownImageToDisk(target, index, path, name, line);
        Log(line);
        break;
    }
    case CImagePanel::KindRemote: {
        QString err;
        if (!CImagePanel::AnnounceFile(target, path, index, err))
            Log(err);
        break;
    }
    case CImagePanel::KindNone:
        break;
    }
    return true;
}

void MainWindow::on_btn_downconfig_clicked()
{
    const MyProger *selected = RequireSelected();
    if (!selected)
        return;
    const MyProger target = *selected;
    if (CMessageBox::Ask(this, tr("提示"), tr("下发镜像将修改下载器的参数配置，是否继续?")) != QMessageBox::Yes)
        return;
    QString path;
    if (!SaveParamFile(path))
        return;
    Log(tr("下发配置文件: %1").arg(target.Name()));
    BurnHub *hub = BurnHub::Instance();
    QString err;
    switch (CImagePanel::KindOf(&target)) {
    case CImagePanel::KindUsb:
        hub->SetUSBProgUID(target.m_strID);
        SendUsbFile(target, path, QString());
        break;
    case CImagePanel::KindDisk: {
        hub->SetProgRoot(target.m_strRoot);
        const bool ok = hub->DownConfigFile(path, err);
        const QString result = tr("本地配置下载%1").arg(ok ? tr("成功") : tr("失败"));
        Log(QStringLiteral("%1: %2 %3").arg(result, target.Name(), err).trimmed());
        CMessageBox::Info(this, tr("提示"), result);
        break;
    }
    case CImagePanel::KindRemote:
        if (!CImagePanel::AnnounceFile(target, path, 0, err))
            Log(err);
        break;
    case CImagePanel::KindNone:
        break;
    }
}

void MainWindow::on_btn_imagemgr_clicked()
{
    if (const MyProger *proger = RequireSelected())
        m_pViewers->OpenImages(*proger);
}

void MainWindow::on_btn_upconfig_clicked()
{
    if (const MyProger *proger = RequireSelected())
        m_pViewers->OpenConfig(*proger);
}

void MainWindow::comboindex_editedtext(QString) {}
void MainWindow::comboindex_activated(int) {}
void MainWindow::comboaes_activated(int) {}

void MainWindow::RefreshImageCRC()
{
    QString crc;
    QString why;
    // An empty list or one that cannot be merged has no CRC to show.
    if (!CImagePanel(ServerDefs::WorkDir()).RefreshCRC(ui->treeBin->GetBinInfos(), crc, why))
        qDebug() << why;
    ui->edit_imagecrc->setText(crc);
}

CPanelValues MainWindow::PanelValues() const
{
    CPanelValues values;
    values.bins = ui->treeBin->GetBinInfos();
    values.strIndex = ui->combo_index->currentText();
    values.strName = ui->edit_name->text();
    values.bEncrypt = ui->combo_aes->currentData().toBool();
    values.nChip = ui->combo_chip->currentData().toInt();
    values.strLimit = ui->edit_count->text();
    values.strVersion = ui->edit_ver->text();
    return values;
}

bool MainWindow::BuildImage(const CPanelValues &values, const MyProger *proger, const QString &givenID,
                            const QString &path, CPanelMessage &msg)
{
    CImageResult result;
    if (!CImagePanel(ServerDefs::WorkDir()).Build(values, proger, givenID, path, result, msg)) {
        Log(msg.text);
        ShowPanelMessage(msg);
        return false;
    }
    ui->edit_imagecrc->setText(result.m_strCRC);
    for (const QString &line : qAsConst(result.m_summary))
        Log(line);
    SaveImageSettings();
    return true;
}

void MainWindow::ShowPanelMessage(const CPanelMessage &msg)
{
    switch (msg.way) {
    case CPanelMessage::Log:
        Log(msg.text);
        break;
    case CPanelMessage::Warn:
        Warn(msg.text);
        break;
    case CPanelMessage::Error:
        Error(msg.text);
        break;
    case CPanelMessage::None:
        break;
    }
}

void MainWindow::ExportImage()
{
    CPanelValues values = PanelValues();
    QString name = values.strName;
    QString err;
    if (!CImageBuilder::CheckImageName(name, err)) {
        Warn(err);
        return;
    }
    CImageSettings settings;
    settings.Load();
    // The ticked programmer is the likely target; else the ID used last.
    const MyProger *selected = GetSelectedProger();
    QString typed = selected ? CImagePanel::KeyID(*selected) : settings.strExportID;
    const auto check = [](const QString &text) { return CImagePanel::ExportID(text).isEmpty() ? tr("ID输入错误!") : QString(); };
    if (!CExportPrompt::AskID(this, ui->actionexportimage->text(), tr("请输入或者确认下载器ID以进行导出加密镜像"), typed,
                              check))
        return;
    const QString id = CImagePanel::ExportID(typed);
    const QString dir = CExportPrompt::AskFolder(this, tr("选择镜像文件的导出位置"), settings.strExportPath);
    if (dir.isEmpty())
        return;
    settings.Load();
    settings.strExportID = typed.trimmed();
    settings.strExportPath = dir;
    settings.Save();

    values.bEncrypt = true;
    const QString path = QDir(dir).filePath(name);
    CPanelMessage msg;
    if (BuildImage(values, nullptr, id, path, msg))
        Log(tr("导出镜像成功!") + QLatin1Char(' ') + path);
    else
        Log(tr("导出镜像失败 ") + path);
}

void MainWindow::SendUsbFile(const MyProger &proger, const QString &path, const QString &imageCrc, int imageNo)
{
    // Only the console holds HID and VCP programmers; it reports the transfer itself.
    if (!m_pUsb || !m_pUsb->HasConsole()) {
        Log(tr("USB下载器未连接: %1").arg(proger.m_strRoot));
        return;
    }
    if (path.endsWith(QLatin1String(".img"))) {
        // The console names the image it sends in its log.
        CUsbConsole *console = m_pUsb->Console();
        console->m_strImageName = QFileInfo(path).fileName();
        console->m_strImageCrc = imageCrc;
    }
    m_pUsb->SendFileToProger(proger.m_strRoot, path, imageNo);
}

// ---------------------------------------------------------------- actions

void MainWindow::actionTriggered(QAction *pAction)
{
    if (pAction == ui->actionskin) {
        skindlg dlg(this);
        dlg.SetIniFile(ServerDefs::IniFile());
        dlg.exec();
    } else if (pAction == ui->actionexit) {
        close();
    } else if (pAction == ui->actionabout) {
        CMessageBox::Info(this, tr("关于"), tr("QEL下载器服务端") + QLatin1Char(' ') + ServerDefs::Version());
    } else if (pAction == ui->actionclear) {
        ui->edit_out->clear();
    } else if (pAction == ui->actionupdateserver) {
        CheckServerUpdate();
    } else if (pAction == ui->actionupdatefirm) {
        CheckFirmUpdate();
    } else if (pAction == ui->actionlanguage) {
        ChangeLanguage();
    } else if (pAction == ui->actionpassword) {
        SetProgerPassword();
    } else if (pAction == ui->actionsavelog) {
        SaveLog();
    } else if (pAction == ui->actionusbvcpcol) {
        Log(pAction->text());
        m_pUsb->ShowConsole();
    } else if (pAction == ui->actionproc) {
        if (const MyProger *proger = RequireSelected())
            m_pViewers->OpenFirm(*proger, QString());
    } else if (pAction == ui->actionprogsignal) {
        if (const MyProger *proger = RequireSelected())
            m_pViewers->OpenSignal(*proger);
    } else if (pAction == ui->actionexportimage) {
        ExportImage();
    } else if (pAction == ui->actionbackup) {
        BackupDialog()->show();
        BackupDialog()->raise();
    } else if (pAction == ui->actionusbhid || pAction == ui->actionsub4) {
        // The HID switch is read where it matters; sub4 has no function.
    } else if (pAction == ui->actionrecordsync) {
        QString warning;
        if (!m_pRecordSync->Start(GetSelectedProger(), warning) && !warning.isEmpty())
            Warn(warning);
    } else if (m_pRemote->Handle(pAction)) {
        // A remote service started or stopped.
    } else if (m_pStoreTools && m_pStoreTools->Handle(pAction)) {
        // Offline image store or a record dialog opened.
    } else {
        // An entry with no function in this version.
        NotAvailable(pAction->text());
    }
}

backuploaddlg *MainWindow::BackupDialog()
{
    if (!m_pBackupDlg)
        m_pBackupDlg = std::make_unique<backuploaddlg>(this);
    return m_pBackupDlg.get();
}

void MainWindow::NotAvailable(const QString &what)
{
    Log(tr("%1：当前版本暂不支持此功能").arg(what));
}

void MainWindow::CheckServerUpdate()
{
    m_pFresh->CheckUpdate(QStringLiteral("上位机检查更新"), ServerDefs::IniFile(), ServerDefs::Version(), true,
                          ModuleName(Mod_Qel720AServer));
}

void MainWindow::CheckFirmUpdate()
{
    MyProger *proger = RequireSelected();
    if (!proger)
        return;
    m_pFresh->CheckUpdate(QStringLiteral("下载器固件检查更新"), ServerDefs::IniFile(), proger->m_strVer, true,
                          ServerDefs::FirmModule(), true);
}

void MainWindow::ChangeLanguage()
{
    const int language = CTranslations::ChooseLanguage(ServerDefs::IniFile(), this);
    if (language == CTranslations::Cancelled)
        return;
    ApplyLanguage(language);
}

void MainWindow::SetProgerPassword()
{
    MyProger *proger = RequireSelected();
    if (!proger)
        return;
    if (!proger->IsDisk()) {
        Warn(tr("仅支持本地下载器"));
        return;
    }
    const QString root = proger->m_strRoot;
    const QString name = proger->Name();
    if (!m_pPwdDlg)
        m_pPwdDlg = std::make_unique<passworddlg>(this);
    if (m_pPwdDlg->exec() != QDialog::Accepted) {
        Log(tr("取消更新密码"));
        return;
    }
    const QString path = ServerDefs::WorkDir() + QStringLiteral("password.dat");
    QString err;
    bool ok = CSafeFile::Write(path, ServerDefs::WorkDir(), m_pPwdDlg->GetPassword().toLatin1(), err);
    if (ok) {
        BurnHub::Instance()->SetProgRoot(root);
        ok = BurnHub::Instance()->DownPasswordFile(path, err);
    }
    QFile::remove(path);
    const QString result = ok ? tr("更新密码成功，烧录器重新上电以生效") : tr("更新密码失败");
    Log(QStringLiteral("%1: %2 %3").arg(result, name, err).trimmed());
    if (!ok)
        Error(result);
}

// ---------------------------------------------------------------- window

void MainWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat() && m_testKeys.Feed(event->key()))
        ToggleTestMode();
    QMainWindow::keyReleaseEvent(event);
}

void MainWindow::ToggleTestMode()
{
    m_bTestMode = !m_bTestMode;
    Log(m_bTestMode ? tr("内部测试模式已开启") : tr("内部测试模式已关闭"));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (CMessageBox::Ask(this, tr("提示"), tr("确认退出程序?")) == QMessageBox::Yes)
        event->accept();
    else
        event->ignore();
}

void MainWindow::Warn(const QString &text)
{
    CMessageBox::Warn(this, tr("提示"), text);
}

void MainWindow::Error(const QString &text)
{
    CMessageBox::Error(this, tr("错误"), text);
}

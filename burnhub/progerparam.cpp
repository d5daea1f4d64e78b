#include "progerparam.h"

namespace {
QString Num(qint64 value)
{
    return QString::number(value);
}
} // namespace

QStringList CProgerParam::ChipNames()
{
    return {QStringLiteral("QM-01"), QStringLiteral("QM-02"), QStringLiteral("QM-03"),
            QStringLiteral("QM-04"), QStringLiteral("QM-05"), QStringLiteral("QM-06"),
            QStringLiteral("QM-07"), QStringLiteral("QM-08"), QStringLiteral("QM-09")};
}

QString CProgerParam::FormatConfig(const ProgerConfig &cfg, enumProgerModel model)
{
    if (model == ModelClassic) {
        // Multi-argument arg(): the image name is taken as it is, even with a "%" in it.
        return QStringLiteral("simple=%1\r\nchip=%2\r\nspeed=%3\r\nprotect=%4\r\nwritecrc=%5\r\n"
                              "machinemode=%6\r\nfunctionmode=%7\r\nautoena=%8\r\nautoimage=%9\r\n")
            .arg(Num(cfg.simple), Num(cfg.chip), Num(cfg.speed), Num(cfg.protect), Num(cfg.writecrc),
                 Num(cfg.machineMode), Num(cfg.functionmode), Num(cfg.autoena), cfg.autoimage);
    }
    // The programmer's reader expects "\n" alone after continuous and contInterval.
    return QStringLiteral("voltage=%1\r\ncontinuous=%2\ncontInterval=%3\nprotect=%4\r\neraseall=%5\r\n"
                          "iap=%6\r\nswdClk=%7\r\niapBaud=%8\r\nhalfDuplex=%9\r\n")
               .arg(Num(cfg.voltage), Num(cfg.continuous), Num(cfg.contInterval), Num(cfg.protect),
                    Num(cfg.eraseall), Num(cfg.iap), Num(cfg.swdClk), Num(cfg.iapBaud), Num(cfg.halfDuplex))
        + QStringLiteral("en=%1\r\nreset=%2\r\nusbmode=%3\r\nmachineMode=%4\r\nfirstPage=%5\r\n"
                         "crcShow=%6\r\npowerProtect=%7\r\nflmDataGear=%8\r\n")
              .arg(Num(cfg.en), Num(cfg.reset), Num(cfg.usbmode), Num(cfg.machineMode), Num(cfg.firstPage),
                   Num(cfg.crcShow), Num(cfg.powerProtect), Num(cfg.flmDataGear));
}

QString CProgerParam::FormatSignal(const ProgerSignal &sig)
{
    return QStringLiteral("signalType=%1\r\nsignalDuration=%2\r\nstartLevel=%3\r\nstartTime=%4\r\n"
                          "busySignal=%5\r\nsuccessSignal=%6\r\nfailSignal=%7\r\n")
        .arg(Num(sig.signalType), Num(sig.signalDuration), Num(sig.startLevel), Num(sig.startTime),
             Num(sig.busySignal), Num(sig.successSignal), Num(sig.failSignal));
}

QString CProgerParam::CheckLegal(const ProgerConfig &cfg)
{
    QString msg;
    if (cfg.continuous && cfg.reset)
        msg += tr("当前配置存在互斥，请修改!（连续模式和硬件复位不能同时开启)\n");
    if (cfg.continuous && cfg.usbmode != 0)
        msg += tr("当前配置存在互斥，请修改!（连续模式和USB通信模式会互相影响)\n");
    return msg;
}

#pragma once
// The rules behind the configuration forms: the text of "param.ini" and
// "signal.ini" and the settings that exclude each other.
#include "burnhub_global.h"
#include "progerinfo.h"

#include <QCoreApplication>
#include <QStringList>

class BURNHUB_EXPORT CProgerParam
{
    Q_DECLARE_TR_FUNCTIONS(CProgerParam)
public:
    // The suite's MCU types, in the order of their numbers.
    static QStringList ChipNames();

    // Whole "param.ini" of the model; flags as 0/1.
    static QString FormatConfig(const ProgerConfig &cfg, enumProgerModel model);
    // Whole "signal.ini".
    static QString FormatSignal(const ProgerSignal &sig);

    // The conflicts found, one message per line; empty when the settings may be used.
    static QString CheckLegal(const ProgerConfig &cfg);
};

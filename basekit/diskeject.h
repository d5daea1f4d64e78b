#pragma once
// Takes a mounted programmer disk away safely before it is unplugged.
#include "basekit_global.h"

#include <QCoreApplication>
#include <QString>

class BASEKIT_EXPORT CDiskEject
{
    Q_DECLARE_TR_FUNCTIONS(CDiskEject)
public:
    // root: the disk's mount root. Goes through udisks2 (unmount, then power-off)
    // when it is there, else unmounts. msg receives the reason on failure.
    static bool Eject(const QString &root, QString &msg);

private:
    static bool Run(const QString &program, const QStringList &args, QString &msg);
};

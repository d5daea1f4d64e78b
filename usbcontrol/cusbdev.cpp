#include "cusbdev.h"

CUsbDev::~CUsbDev() = default;

QString CUsbDev::name() const { return QString(); }

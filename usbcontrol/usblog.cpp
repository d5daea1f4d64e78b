#include "usblog.h"

Q_LOGGING_CATEGORY(lcUsbControl, "qel.usbcontrol")

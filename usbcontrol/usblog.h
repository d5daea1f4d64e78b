#pragma once
// Debug output of the USB control frames; "qel.usbcontrol.debug=false" in
// QT_LOGGING_RULES silences the per-frame lines.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcUsbControl)

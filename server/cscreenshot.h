#pragma once
// Pictures of the server for the demo on a machine without a display.
//
// QEL_SCREENSHOT=<file.png>: the main window alone.
// QEL_SCREENSHOT_DIR=<folder> (and QEL_SCREENSHOT_TAG, such as "en_dark"): the
// main window with its first programmer ticked, the export dialog, the password
// dialog and the USB console, each saved as "<scene>_<tag>.png".
// QEL_SCREENSHOT_DELAY is the wait in ms before the first picture (default
// 3000); the program then ends.
#include <QString>

class QWidget;

class CScreenShot
{
public:
    // True when pictures were scheduled.
    static bool ScheduleFromEnvironment(QWidget *window);
    static bool Save(QWidget *widget, const QString &path);
};

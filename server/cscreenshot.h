#pragma once
// Saves a picture of a window when the environment asks for it (the demo on a
// machine without a display): QEL_SCREENSHOT names the PNG file,
// QEL_SCREENSHOT_DELAY the wait in ms (default 3000); the program then ends.
class QString;
class QWidget;

class CScreenShot
{
public:
    // True when a screenshot was scheduled.
    static bool ScheduleFromEnvironment(QWidget *window);
    static bool Save(QWidget *window, const QString &path);
};

#pragma once
// Names the server keeps in one place: its settings file, version and folders.
#include <QString>

namespace ServerDefs {
// Settings file of the program (data folder; language, theme and update URL in the per-user folder).
inline QString IniFile() { return QStringLiteral("qel720A_server.ini"); }
inline QString Version() { return QStringLiteral("v1.3.8.beta"); }
// Module word of the programmers' firmware on the update server.
inline QString FirmModule() { return QStringLiteral("qel720A"); }
// The working folder: data folder + "qel720A_server/", created when missing.
QString WorkDir();
} // namespace ServerDefs

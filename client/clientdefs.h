#pragma once
// Names the client keeps in one place: its settings file, version and folders.
#include <QString>

namespace ClientDefs {
// Settings file of the program (data folder; language and theme in the per-user folder).
inline QString IniFile() { return QStringLiteral("qel720A_client.ini"); }
inline QString Version() { return QStringLiteral("v1.1.6"); }
// Where received files land: data folder + "qel720A_client/", created when missing.
QString WorkDir();
} // namespace ClientDefs

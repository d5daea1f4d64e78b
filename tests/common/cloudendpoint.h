#pragma once
// Points the server's cloud settings at a cloud double on this port on
// loopback, with no fallback addresses.
#include <cpubactions.h>
#include <serverdefs.h>

inline void SetCloudEndpoint(int port)
{
    CPubActions ini(false);
    const QString file = ServerDefs::IniFile();
    ini.WriteString("CLOUD", "HOST", "127.0.0.1", file);
    ini.WriteString("CLOUD", "FALLBACK1", "", file);
    ini.WriteString("CLOUD", "FALLBACK2", "", file);
    ini.WriteInt("CLOUD", "PORT", port, file);
}

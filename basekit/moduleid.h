#pragma once
// The programs of the suite's family. A number's name keys the program's
// single-instance segment, its data folder and its update checks.
#include "basekit_global.h"

#include <QString>

enum enumModuleID {
    Mod_Qelmod00 = 0,
    Mod_Qelmod01 = 1,
    Mod_Qelmod02 = 2,
    Mod_Qelmod03 = 3,
    Mod_Qelmod04 = 4,
    Mod_Qelmod05 = 5,
    Mod_Qelmod06 = 6,
    Mod_Qelmod07 = 7,
    Mod_Qel720AServer = 8,
    Mod_Qel720AClient = 9,
    Mod_Qel720A = 10,
    Mod_Qelmod11 = 11,
    Mod_Qelmod12 = 12,
    Mod_Qelmod13 = 13,
    Mod_Qelmod14 = 14,
    Mod_Qelmod15 = 15,
    Mod_Qelmod16 = 16,
    Mod_Qelmod17 = 17,
    Mod_Qelmod18 = 18,
    Mod_Qelmod19 = 19,
    Mod_Qelmod20 = 20,
    Mod_Qelmod21 = 21,
    Mod_Qelmod22 = 22,
    Mod_Qelmod23 = 23,
    Mod_Heartbeat = 24,
    Mod_Qelmod25 = 25,
    Mod_Qelmod26 = 26,
    Mod_Qelmod27 = 27,
    Mod_Qelmod28 = 28,
    Mod_Qelmod29 = 29,
    Mod_Qelmod30 = 30,
    Mod_Qelmod31 = 31,
    Mod_Qelmod32 = 32,
    Mod_Qelmod33 = 33,
    Mod_Qelmod34 = 34,
    Mod_Qelmod35 = 35,
    Mod_Qelmod36 = 36,
    Mod_Qelmod37 = 37,
};

constexpr int ModuleCount = 38;

// "qel720A_server", "qel720A_client", "qel720A" for 8..10, "qelmod_NN" for the
// others, "Unknown module" outside 0..37.
BASEKIT_EXPORT QString ModuleName(int id);

#pragma once
// Language switch of the programs: 0 Chinese (the source texts), 1 English.
#include "basekit_global.h"

#include <QString>

class QWidget;

class BASEKIT_EXPORT CTranslations
{
public:
    enum Language { Chinese = 0, English = 1, Cancelled = 2 };

    // "UI"/"LANGUAGE" of iniFile in the per-user folder.
    static int GetLanguage(const QString &iniFile);
    // Asks for "cn" or "en" and stores the choice; Cancelled stores nothing.
    static int ChooseLanguage(const QString &iniFile, QWidget *parent = nullptr);
    // Installs the translators of the language; a missing translation is skipped quietly.
    static void LoadTranslations(bool english);
};

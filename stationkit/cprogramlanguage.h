#pragma once
// The language switch of a station program: the shared libraries' translators
// and the program's own English translation (":/en.qm").
class QTranslator;

class CProgramLanguage
{
public:
    // Installs (English) or removes (Chinese) the program's translator; true for English.
    static bool Apply(QTranslator &translator, int language);
};

// Any text through the splitter of the service's SQL text: statements come out
// in order as pieces of the input, none blank, and each splits again into itself;
// the refusal check reads every one of them.
#include "csqlscript.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    int from = 0;
    for (const QString &statement : CSqlScript::Split(text)) {
        if (statement.isEmpty() || statement != statement.trimmed())
            std::abort();
        const int at = text.indexOf(statement, from);
        if (at < 0)
            std::abort();
        from = at + statement.size();
        const QStringList again = CSqlScript::Split(statement);
        if (again.size() != 1 || again.first() != statement)
            std::abort();
        // Keywords compare in ASCII: no word may keep a lower-case ASCII letter.
        // (Other letters are upper-cased one character at a time, so "ΐ" stays
        // as it is where a whole-text toUpper() would make three characters.)
        for (const QString &word : CSqlScript::Words(statement)) {
            if (word.isEmpty())
                std::abort();
            for (const QChar c : word) {
                if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                    std::abort();
            }
        }
        CSqlScript::IsRefused(statement);
    }
    return 0;
}

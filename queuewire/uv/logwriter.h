#pragma once
// Process-wide log sink of the library: one line per message, to standard output
// unless a callback takes the text.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

namespace uv {

class LogWriter
{
public:
    enum Level { Debug = 0, Info, Warn, Error, Fatal };
    using WriteLogCallback = std::function<void(int level, const std::string &text)>;

    static LogWriter *Instance();

    void setLevel(int level);
    int getLevel() const;
    // The callback replaces standard output; an empty one restores it.
    void registerLogCallback(WriteLogCallback callback);

    bool enabled(int level) const;
    void write(int level, const std::string &text);
    void debug(const std::string &text) { write(Debug, text); }
    void info(const std::string &text) { write(Info, text); }
    void warn(const std::string &text) { write(Warn, text); }
    void error(const std::string &text) { write(Error, text); }
    void fatal(const std::string &text) { write(Fatal, text); }

    static std::string levelName(int level);
    static std::string hexDump(const char *data, size_t size);

private:
    LogWriter() = default;

    std::atomic<int> m_level{Debug};
    std::mutex m_mutex;
    WriteLogCallback m_callback;
};

} // namespace uv

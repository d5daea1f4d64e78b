#include "logwriter.h"

#include <cstdio>

namespace uv {

LogWriter *LogWriter::Instance()
{
    static LogWriter writer;
    return &writer;
}

void LogWriter::setLevel(int level) { m_level = level; }

int LogWriter::getLevel() const { return m_level; }

void LogWriter::registerLogCallback(WriteLogCallback callback)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_callback = std::move(callback);
}

bool LogWriter::enabled(int level) const { return level <= Error && level >= m_level; }

void LogWriter::write(int level, const std::string &text)
{
    if (!enabled(level))
        return;
    // Several loop threads log at once; one lock keeps their lines whole.
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_callback) {
        m_callback(level, text);
        return;
    }
    const std::string line = levelName(level) + " :" + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

std::string LogWriter::levelName(int level)
{
    switch (level) {
    case Debug: return "Debug";
    case Info: return "Info";
    case Warn: return "Warn";
    case Error: return "Error";
    case Fatal: return "Fatal";
    default: return "NullLevel";
    }
}

std::string LogWriter::hexDump(const char *data, size_t size)
{
    std::string out;
    out.reserve(size * 6);
    char item[16];
    for (size_t i = 0; i < size; ++i) {
        const int n = std::snprintf(item, sizeof item, " 0x%x ", static_cast<unsigned char>(data[i]));
        out.append(item, static_cast<size_t>(n));
    }
    return out;
}

} // namespace uv

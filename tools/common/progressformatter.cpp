#include "common/progressformatter.h"

#include <cstdio>
#include <cstdlib>

namespace tools
{

namespace
{

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// "N/A" and empty values give nothing.
std::optional<double> number(const std::string &text)
{
    const std::string value = trimmed(text);
    if (value.empty() || value == "N/A")
        return std::nullopt;
    char *end = nullptr;
    const double parsed = std::strtod(value.c_str(), &end);
    if (end == value.c_str())
        return std::nullopt;
    return parsed;
}

} // namespace

std::vector<ProgressSnapshot> ProgressFormatter::feed(const std::string &piece)
{
    std::vector<ProgressSnapshot> done;
    m_pending += piece;
    size_t start = 0;
    for (size_t newline = m_pending.find('\n', start); newline != std::string::npos;
         newline = m_pending.find('\n', start)) {
        takeLine(m_pending.substr(start, newline - start), done);
        start = newline + 1;
    }
    m_pending.erase(0, start);
    return done;
}

void ProgressFormatter::takeLine(const std::string &line, std::vector<ProgressSnapshot> &done)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos)
        return;
    const std::string key = trimmed(line.substr(0, equals));
    const std::string value = line.substr(equals + 1);
    const std::optional<double> figure = number(value);

    if (key == "frame") {
        if (figure)
            m_current.frame = static_cast<long long>(*figure);
    } else if (key == "fps") {
        m_current.fps = figure.value_or(0);
    } else if (key.rfind("stream_", 0) == 0 && key.size() > 2 &&
               key.compare(key.size() - 2, 2, "_q") == 0) {
        // The first video stream's quantizer, as the old line showed it.
        if (figure && m_current.quality == 0)
            m_current.quality = *figure;
    } else if (key == "total_size") {
        m_current.totalBytes = figure ? static_cast<long long>(*figure) : -1;
    } else if (key == "out_time_us") {
        if (figure)
            m_current.outTimeUs = *figure > 0 ? static_cast<long long>(*figure) : 0;
    } else if (key == "bitrate") {
        m_current.bitrateKbps = figure.value_or(-1);
    } else if (key == "progress") {
        m_current.end = trimmed(value) == "end";
        done.push_back(m_current);
        m_current = ProgressSnapshot();
    }
}

std::string ProgressFormatter::format(const ProgressSnapshot &snapshot, long long sizeOverride)
{
    char buffer[256];
    std::string line;
    if (snapshot.frame) {
        std::snprintf(buffer, sizeof buffer, "frame=%5lld fps=%3d q=%.1f ", *snapshot.frame,
                      static_cast<int>(snapshot.fps + 0.5), snapshot.quality);
        line += buffer;
    }
    const long long bytes = sizeOverride >= 0 ? sizeOverride : snapshot.totalBytes;
    const double seconds = static_cast<double>(snapshot.outTimeUs) / 1e6;
    double kbps = snapshot.bitrateKbps;
    if (sizeOverride >= 0 || kbps < 0)
        kbps = seconds > 0 && bytes >= 0 ? static_cast<double>(bytes) * 8 / seconds / 1000 : 0;
    std::snprintf(buffer, sizeof buffer, "size=%8.0fkB time=%.2f bitrate=%6.1fkbits/s",
                  bytes > 0 ? static_cast<double>(bytes) / 1024 : 0.0, seconds, kbps);
    line += buffer;
    return line;
}

} // namespace tools

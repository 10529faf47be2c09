#include "dvd/sectorstream.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include <dvdread/dvd_reader.h>

namespace dvd
{

namespace
{

// libdvdread's default logger prints a banner on standard output.
void logToStderr(void *, dvd_logger_level_t level, const char *format, va_list args)
{
    if (level != DVD_LOGGER_LEVEL_ERROR && level != DVD_LOGGER_LEVEL_WARN)
        return;
    std::fputs("libdvdread: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
}

const dvd_logger_cb kLogger = {logToStderr};

} // namespace

dvd_reader_s *openDisc(const std::string &root)
{
    return DVDOpen2(nullptr, &kLogger, root.c_str());
}

SectorStream::~SectorStream()
{
    close();
}

bool SectorStream::open(const std::string &root, int titleSet, std::string *error)
{
    close();
    m_dvd = openDisc(root);
    if (!m_dvd) {
        if (error)
            *error = "cannot open the DVD at '" + root + "'";
        return false;
    }
    m_file = DVDOpenFile(m_dvd, titleSet, DVD_READ_TITLE_VOBS);
    if (!m_file) {
        if (error)
            *error = "the DVD at '" + root + "' has no title set " + std::to_string(titleSet);
        close();
        return false;
    }
    m_sectors = DVDFileSize(m_file);
    if (m_sectors <= 0) {
        if (error)
            *error = "title set " + std::to_string(titleSet) + " of the DVD is empty";
        close();
        return false;
    }
    return true;
}

void SectorStream::close()
{
    if (m_file)
        DVDCloseFile(m_file);
    if (m_dvd)
        DVDClose(m_dvd);
    m_file = nullptr;
    m_dvd = nullptr;
    m_sectors = 0;
}

long long SectorStream::read(long long sector, size_t count, unsigned char *buffer)
{
    if (!m_file || sector < 0 || sector >= m_sectors)
        return -1;
    count =
        static_cast<size_t>(std::min<long long>(static_cast<long long>(count), m_sectors - sector));
    const ssize_t got = DVDReadBlocks(m_file, static_cast<int>(sector), count, buffer);
    return got < 0 ? -1 : static_cast<long long>(got);
}

PackScanner::PackScanner(std::vector<int> wanted) : m_wanted(std::move(wanted)) {}

bool PackScanner::done() const
{
    return std::all_of(m_wanted.begin(), m_wanted.end(),
                       [this](int id) { return m_found.count(id) > 0; });
}

std::optional<long long> PackScanner::firstPack(int id) const
{
    const auto it = m_found.find(id);
    if (it == m_found.end())
        return std::nullopt;
    return it->second;
}

bool PackScanner::feed(const unsigned char *packs, size_t count)
{
    for (size_t i = 0; i < count; ++i, ++m_packs) {
        for (int id : streamsInPack(packs + i * kSectorSize)) {
            if (std::find(m_wanted.begin(), m_wanted.end(), id) != m_wanted.end())
                m_found.emplace(id, m_packs);
        }
    }
    return done();
}

std::vector<int> PackScanner::streamsInPack(const unsigned char *pack)
{
    std::vector<int> ids;
    auto startCode = [pack](size_t at) {
        return pack[at] == 0 && pack[at + 1] == 0 && pack[at + 2] == 1;
    };
    if (!startCode(0) || pack[3] != 0xba)
        return ids;
    // MPEG-2 pack headers are 14 bytes plus stuffing, MPEG-1 ones 12.
    size_t at = (pack[4] & 0xc0) == 0x40 ? 14 + (pack[13] & 0x07) : 12;
    while (at + 6 <= kSectorSize && startCode(at)) {
        const int streamId = pack[at + 3];
        const size_t length = (static_cast<size_t>(pack[at + 4]) << 8) | pack[at + 5];
        if (streamId == 0xbd) {
            if (at + 9 < kSectorSize) {
                const size_t headerEnd = at + 9 + pack[at + 8];
                if (headerEnd < kSectorSize && headerEnd < at + 6 + length)
                    ids.push_back(pack[headerEnd]);
            }
        } else if (streamId >= 0xc0 && streamId <= 0xef) {
            ids.push_back(0x100 | streamId);
        }
        at += 6 + length;
    }
    return ids;
}

} // namespace dvd

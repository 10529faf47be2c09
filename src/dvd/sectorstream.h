#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct dvd_reader_s;
struct dvd_file_s;

namespace dvd
{

constexpr size_t kSectorSize = 2048;

// Opens a disc: the folder holding VIDEO_TS, a device or an ISO image. libdvdread's
// messages go to standard error, never to standard output, where a sector stream
// may be going. Null when it cannot be opened; close with DVDClose.
dvd_reader_s *openDisc(const std::string &root);

// The sectors of one title set's VOBs, read with libdvdread from the folder holding
// VIDEO_TS, a device or an ISO image. libdvdread's messages go to standard error.
class SectorStream
{
public:
    SectorStream() = default;
    ~SectorStream();
    SectorStream(const SectorStream &) = delete;
    SectorStream &operator=(const SectorStream &) = delete;

    bool open(const std::string &root, int titleSet, std::string *error = nullptr);
    void close();

    long long sectorCount() const { return m_sectors; }

    // Reads up to count sectors from sector on; the number read, or -1 on a read error.
    long long read(long long sector, size_t count, unsigned char *buffer);

private:
    dvd_reader_s *m_dvd = nullptr;
    dvd_file_s *m_file = nullptr;
    long long m_sectors = 0;
};

// Looks through MPEG-PS packs for the first packet of given streams. Ids as ffmpeg numbers
// them: private-stream substreams (0x20.., 0x80..) by their substream id, other PES streams
// as 0x100 + stream id (video 0x1e0, MPEG audio 0x1c0).
class PackScanner
{
public:
    explicit PackScanner(std::vector<int> wanted);

    // Feeds consecutive 2048-byte packs; true once every wanted stream has been seen.
    bool feed(const unsigned char *packs, size_t count);
    bool done() const;

    // Index of the first pack holding the stream, counted from the first pack fed.
    std::optional<long long> firstPack(int id) const;
    long long packsSeen() const { return m_packs; }

    // The stream ids of the packets in one pack, in order.
    static std::vector<int> streamsInPack(const unsigned char *pack);

private:
    std::vector<int> m_wanted;
    std::map<int, long long> m_found;
    long long m_packs = 0;
};

} // namespace dvd

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The IFO reader: program chains, cells and stream descriptions of one DVD title set,
// read from its information file (VTS_NN_0.IFO) through libdvdread.
//
// The whole file is read by ifoOpen; the disc is released before it returns, so a handle
// holds only memory. Texts returned by the calls belong to the handle and stay valid until
// ifoClose; callers copy them. Every call accepts a null handle and out-of-range indices
// (giving 0 or an empty text).

struct IfoFile;
using IfoHandle = IfoFile *;

// Playing time as plain numbers (not BCD); frames are dropped.
struct IfoPlayingTime {
    uint8_t hours;
    uint8_t minutes;
    uint8_t seconds;
    uint8_t unused;
};
static_assert(sizeof(IfoPlayingTime) == 4);

// One cell as ifoGetPGCICells writes it: 17 bytes, packed, little-endian.
#pragma pack(push, 1)
struct IfoCellRecord {
    uint32_t firstSector; // sector numbers of the title set's VOBs, as the cell table gives them
    uint32_t lastSector;
    uint8_t unused1[4];
    uint8_t programNumber; // the chapter (program) the cell belongs to, counted from 1
    uint8_t hours;         // the cell's playing time
    uint8_t minutes;
    uint8_t seconds;
    uint8_t unused2;
};
#pragma pack(pop)
inline constexpr std::size_t kIfoCellRecordSize = 17;
static_assert(sizeof(IfoCellRecord) == kIfoCellRecordSize);
static_assert(offsetof(IfoCellRecord, lastSector) == 4);
static_assert(offsetof(IfoCellRecord, programNumber) == 12);
static_assert(offsetof(IfoCellRecord, seconds) == 15);

// path: a VTS_NN_0.IFO file, in the file system's encoding (QFile::encodeName). The disc is
// opened at the folder holding VIDEO_TS, or at the file's own folder. The second argument is
// not used (always 0). Returns nullptr when the file is missing, misnamed or unreadable;
// a damaged IFO is read from its VTS_NN_0.BUP when that one is intact.
IfoHandle ifoOpen(const char *path, int reserved);

// Number of program chains (the titles of the set); indices below are 0-based.
int ifoGetNumPGCI(IfoHandle handle);

// Number of cells of program chain pgc; fills *time with its playing time (zeros on failure).
int ifoGetPGCIInfo(IfoHandle handle, int pgc, IfoPlayingTime *time);

// Writes one IfoCellRecord per cell, in playing order, into cells, which must hold the cell
// count of ifoGetPGCIInfo × 17 bytes. Returns the number of records written.
int ifoGetPGCICells(IfoHandle handle, int pgc, void *cells);

// "MPEG-2 720x576 PAL 16:9": format, picture size, standard, display aspect.
const char *ifoGetVideoDesc(IfoHandle handle);

// "English AC3 2ch (0x80)": language, format, channels and the stream id; MPEG audio is
// given as 0xc0+n, which is MPEG-PS stream 0x1c0+n. An unknown language reads "Unknown?".
int ifoGetNumAudio(IfoHandle handle);
const char *ifoGetAudioDesc(IfoHandle handle, int index);

// "French (0x21)": language and the stream id.
int ifoGetNumSubPic(IfoHandle handle);
const char *ifoGetSubPicDesc(IfoHandle handle, int index);

// Frees the handle; a null handle is ignored.
void ifoClose(IfoHandle handle);

struct IfoCloser {
    void operator()(IfoFile *file) const { ifoClose(file); }
};
using IfoFilePtr = std::unique_ptr<IfoFile, IfoCloser>;

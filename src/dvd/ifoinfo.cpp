#include "dvd/ifoinfo.h"

#include "dvd/sectorstream.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>

// libdvdread's own ifoOpen(dvd_reader_t *, int) and ifoClose(ifo_handle_t *) share their
// names with this reader's calls; the argument types pick the right one, and the calls into
// the library are written with "::" to make that visible.

namespace fs = std::filesystem;

struct IfoFile {
    using CellBytes = std::array<uint8_t, kIfoCellRecordSize>;
    struct ProgramChain {
        IfoPlayingTime time{};
        std::vector<CellBytes> cells;
    };

    std::vector<ProgramChain> chains;
    std::string videoDesc;
    std::vector<std::string> audioDescs;
    std::vector<std::string> subPicDescs;
};

namespace
{

using CellBytes = IfoFile::CellBytes;
using ProgramChain = IfoFile::ProgramChain;

constexpr int kMaxAudioStreams = 8;
constexpr int kMaxSubPicStreams = 32;

struct Language {
    char code[3];
    const char *name;
};

// ISO 639-1, plus the 1988 codes (iw, in, ji) that some authoring tools still write.
// Names stay plain ASCII without parentheses: the description is split at "(" and ")".
// clang-format off
constexpr Language kLanguages[] = {
    {"aa", "Afar"}, {"ab", "Abkhazian"}, {"ae", "Avestan"}, {"af", "Afrikaans"}, {"ak", "Akan"},
    {"am", "Amharic"}, {"an", "Aragonese"}, {"ar", "Arabic"}, {"as", "Assamese"}, {"av", "Avaric"},
    {"ay", "Aymara"}, {"az", "Azerbaijani"}, {"ba", "Bashkir"}, {"be", "Belarusian"},
    {"bg", "Bulgarian"}, {"bh", "Bihari"}, {"bi", "Bislama"}, {"bm", "Bambara"}, {"bn", "Bengali"},
    {"bo", "Tibetan"}, {"br", "Breton"}, {"bs", "Bosnian"}, {"ca", "Catalan"}, {"ce", "Chechen"},
    {"ch", "Chamorro"}, {"co", "Corsican"}, {"cr", "Cree"}, {"cs", "Czech"}, {"cu", "Slavonic"},
    {"cv", "Chuvash"}, {"cy", "Welsh"}, {"da", "Danish"}, {"de", "German"}, {"dv", "Divehi"},
    {"dz", "Dzongkha"}, {"ee", "Ewe"}, {"el", "Greek"}, {"en", "English"}, {"eo", "Esperanto"},
    {"es", "Spanish"}, {"et", "Estonian"}, {"eu", "Basque"}, {"fa", "Persian"}, {"ff", "Fulah"},
    {"fi", "Finnish"}, {"fj", "Fijian"}, {"fo", "Faroese"}, {"fr", "French"}, {"fy", "Frisian"},
    {"ga", "Irish"}, {"gd", "Gaelic"}, {"gl", "Galician"}, {"gn", "Guarani"}, {"gu", "Gujarati"},
    {"gv", "Manx"}, {"ha", "Hausa"}, {"he", "Hebrew"}, {"hi", "Hindi"}, {"ho", "Hiri Motu"},
    {"hr", "Croatian"}, {"ht", "Haitian"}, {"hu", "Hungarian"}, {"hy", "Armenian"},
    {"hz", "Herero"}, {"ia", "Interlingua"}, {"id", "Indonesian"}, {"ie", "Interlingue"},
    {"ig", "Igbo"}, {"ii", "Sichuan Yi"}, {"ik", "Inupiaq"}, {"in", "Indonesian"}, {"io", "Ido"},
    {"is", "Icelandic"}, {"it", "Italian"}, {"iu", "Inuktitut"}, {"iw", "Hebrew"},
    {"ja", "Japanese"}, {"ji", "Yiddish"}, {"jv", "Javanese"}, {"ka", "Georgian"}, {"kg", "Kongo"},
    {"ki", "Kikuyu"}, {"kj", "Kuanyama"}, {"kk", "Kazakh"}, {"kl", "Kalaallisut"}, {"km", "Khmer"},
    {"kn", "Kannada"}, {"ko", "Korean"}, {"kr", "Kanuri"}, {"ks", "Kashmiri"}, {"ku", "Kurdish"},
    {"kv", "Komi"}, {"kw", "Cornish"}, {"ky", "Kirghiz"}, {"la", "Latin"}, {"lb", "Luxembourgish"},
    {"lg", "Ganda"}, {"li", "Limburgish"}, {"ln", "Lingala"}, {"lo", "Lao"}, {"lt", "Lithuanian"},
    {"lu", "Luba-Katanga"}, {"lv", "Latvian"}, {"mg", "Malagasy"}, {"mh", "Marshallese"},
    {"mi", "Maori"}, {"mk", "Macedonian"}, {"ml", "Malayalam"}, {"mn", "Mongolian"},
    {"mr", "Marathi"}, {"ms", "Malay"}, {"mt", "Maltese"}, {"my", "Burmese"}, {"na", "Nauru"},
    {"nb", "Norwegian Bokmal"}, {"nd", "North Ndebele"}, {"ne", "Nepali"}, {"ng", "Ndonga"},
    {"nl", "Dutch"}, {"nn", "Norwegian Nynorsk"}, {"no", "Norwegian"}, {"nr", "South Ndebele"},
    {"nv", "Navajo"}, {"ny", "Chichewa"}, {"oc", "Occitan"}, {"oj", "Ojibwa"}, {"om", "Oromo"},
    {"or", "Oriya"}, {"os", "Ossetian"}, {"pa", "Punjabi"}, {"pi", "Pali"}, {"pl", "Polish"},
    {"ps", "Pashto"}, {"pt", "Portuguese"}, {"qu", "Quechua"}, {"rm", "Romansh"}, {"rn", "Rundi"},
    {"ro", "Romanian"}, {"ru", "Russian"}, {"rw", "Kinyarwanda"}, {"sa", "Sanskrit"},
    {"sc", "Sardinian"}, {"sd", "Sindhi"}, {"se", "Northern Sami"}, {"sg", "Sango"},
    {"sh", "Serbo-Croatian"}, {"si", "Sinhala"}, {"sk", "Slovak"}, {"sl", "Slovenian"},
    {"sm", "Samoan"}, {"sn", "Shona"}, {"so", "Somali"}, {"sq", "Albanian"}, {"sr", "Serbian"},
    {"ss", "Swati"}, {"st", "Sotho"}, {"su", "Sundanese"}, {"sv", "Swedish"}, {"sw", "Swahili"},
    {"ta", "Tamil"}, {"te", "Telugu"}, {"tg", "Tajik"}, {"th", "Thai"}, {"ti", "Tigrinya"},
    {"tk", "Turkmen"}, {"tl", "Tagalog"}, {"tn", "Tswana"}, {"to", "Tonga"}, {"tr", "Turkish"},
    {"ts", "Tsonga"}, {"tt", "Tatar"}, {"tw", "Twi"}, {"ty", "Tahitian"}, {"ug", "Uighur"},
    {"uk", "Ukrainian"}, {"ur", "Urdu"}, {"uz", "Uzbek"}, {"ve", "Venda"}, {"vi", "Vietnamese"},
    {"vo", "Volapuk"}, {"wa", "Walloon"}, {"wo", "Wolof"}, {"xh", "Xhosa"}, {"yi", "Yiddish"},
    {"yo", "Yoruba"}, {"za", "Zhuang"}, {"zh", "Chinese"}, {"zu", "Zulu"},
};
// clang-format on

// The "?" is what the stream lists look for to show their "Unknown" items.
constexpr const char *kUnknownLanguage = "Unknown?";

std::string languageName(uint16_t langCode)
{
    char code[3] = {static_cast<char>(langCode >> 8), static_cast<char>(langCode & 0xff), 0};
    for (char &c : code) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    for (const Language &language : kLanguages) {
        if (code[0] == language.code[0] && code[1] == language.code[1])
            return language.name;
    }
    return kUnknownLanguage;
}

uint8_t fromBcd(uint8_t value)
{
    return static_cast<uint8_t>((value >> 4) * 10 + (value & 0x0f));
}

// The frame byte (rate in bits 7-6, frames in BCD) is dropped: callers count whole seconds.
IfoPlayingTime plainTime(const dvd_time_t &time)
{
    return IfoPlayingTime{fromBcd(time.hour), fromBcd(time.minute), fromBcd(time.second), 0};
}

void putLe32(uint8_t *out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Program k (from 1) starts at the 1-based cell program_map[k-1]; a cell belongs to the
// last program that starts at or before it.
uint8_t programOfCell(const pgc_t &pgc, int cellNumber)
{
    int program = 1;
    if (pgc.program_map) {
        for (int k = 0; k < pgc.nr_of_programs; ++k) {
            if (pgc.program_map[k] <= cellNumber)
                program = k + 1;
        }
    }
    return static_cast<uint8_t>(program);
}

ProgramChain programChainOf(const pgc_t *pgc)
{
    ProgramChain chain;
    if (!pgc)
        return chain;
    chain.time = plainTime(pgc->playback_time);
    const int cellCount = pgc->cell_playback ? pgc->nr_of_cells : 0;
    chain.cells.reserve(static_cast<std::size_t>(cellCount));
    for (int c = 0; c < cellCount; ++c) {
        const cell_playback_t &cell = pgc->cell_playback[c];
        const IfoPlayingTime time = plainTime(cell.playback_time);
        CellBytes bytes{};
        putLe32(bytes.data() + offsetof(IfoCellRecord, firstSector), cell.first_sector);
        putLe32(bytes.data() + offsetof(IfoCellRecord, lastSector), cell.last_sector);
        bytes[offsetof(IfoCellRecord, programNumber)] = programOfCell(*pgc, c + 1);
        bytes[offsetof(IfoCellRecord, hours)] = time.hours;
        bytes[offsetof(IfoCellRecord, minutes)] = time.minutes;
        bytes[offsetof(IfoCellRecord, seconds)] = time.seconds;
        chain.cells.push_back(bytes);
    }
    return chain;
}

std::vector<const pgc_t *> programChainsOf(const pgcit_t &pgcit)
{
    std::vector<const pgc_t *> chains;
    if (!pgcit.pgci_srp)
        return chains;
    for (int i = 0; i < pgcit.nr_of_pgci_srp; ++i)
        chains.push_back(pgcit.pgci_srp[i].pgc);
    return chains;
}

// libdvdread reads the resolution one bit too low (bits 3-2 of the second attribute byte);
// authoring tools write it to bits 5-3, so the byte is put back together from its fields.
int resolutionCode(const video_attr_t &video)
{
    const unsigned secondByte = (video.line21_cc_1 << 7) | (video.line21_cc_2 << 6) |
                                (video.unknown1 << 5) | (video.bit_rate << 4) |
                                (video.picture_size << 2) | (video.letterboxed << 1) |
                                video.film_mode;
    const int code = static_cast<int>((secondByte >> 3) & 7);
    return code <= 3 ? code : 0;
}

std::string videoDescription(const video_attr_t &video)
{
    static const char *const kSizes[2][4] = {
        {"720x480", "704x480", "352x480", "352x240"},
        {"720x576", "704x576", "352x576", "352x288"},
    };
    const bool pal = video.video_format == 1;
    std::string text = video.mpeg_version == 0 ? "MPEG-1" : "MPEG-2";
    text += ' ';
    text += kSizes[pal ? 1 : 0][resolutionCode(video)];
    text += pal ? " PAL" : " NTSC";
    text += video.display_aspect_ratio == 3 ? " 16:9" : " 4:3";
    return text;
}

std::string streamIdText(int id)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", id & 0xff);
    return text;
}

const char *audioFormatName(int format)
{
    switch (format) {
    case 0:
        return "AC3";
    case 2:
        return "MPEG-1";
    case 3:
        return "MPEG-2";
    case 4:
        return "LPCM";
    case 6:
        return "DTS";
    case 7:
        return "SDDS";
    default:
        return "Unknown?";
    }
}

// First stream id of each format in the private stream 1 / MPEG audio numbering.
int audioIdBase(int format)
{
    switch (format) {
    case 2:
    case 3:
        return 0xc0;
    case 4:
        return 0xa0;
    case 6:
        return 0x88;
    case 7:
        return 0x90;
    default:
        return 0x80;
    }
}

// The stream's number within its format as the program chains give it (bit 15 present,
// bits 10-8 the number). A stream no chain describes is assumed to be numbered in list
// order among the streams of its format.
int physicalAudioNumber(const vtsi_mat_t &mat, const std::vector<const pgc_t *> &chains, int index)
{
    for (const pgc_t *pgc : chains) {
        if (!pgc)
            continue;
        const uint16_t control = pgc->audio_control[index];
        if (control & 0x8000)
            return (control >> 8) & 7;
    }
    const int base = audioIdBase(mat.vts_audio_attr[index].audio_format);
    int number = 0;
    for (int i = 0; i < index; ++i) {
        if (audioIdBase(mat.vts_audio_attr[i].audio_format) == base)
            ++number;
    }
    return std::min(number, 7);
}

// Bit 31 present; 5-bit numbers at bits 24 (4:3), 16 (wide), 8 (letterbox), 0 (pan-scan).
int physicalSubPicNumber(const std::vector<const pgc_t *> &chains, int index, bool wide)
{
    for (const pgc_t *pgc : chains) {
        if (!pgc)
            continue;
        const uint32_t control = pgc->subp_control[index];
        if (control & 0x80000000u)
            return static_cast<int>((control >> (wide ? 16 : 24)) & 0x1f);
    }
    return index;
}

std::string audioDescription(const vtsi_mat_t &mat, const std::vector<const pgc_t *> &chains,
                             int index)
{
    const audio_attr_t &audio = mat.vts_audio_attr[index];
    const int id = audioIdBase(audio.audio_format) + physicalAudioNumber(mat, chains, index);
    return languageName(audio.lang_code) + ' ' + audioFormatName(audio.audio_format) + ' ' +
           std::to_string(audio.channels + 1) + "ch (" + streamIdText(id) + ')';
}

std::string subPicDescription(const vtsi_mat_t &mat, const std::vector<const pgc_t *> &chains,
                              int index)
{
    const bool wide = mat.vts_video_attr.display_aspect_ratio == 3;
    const int id = 0x20 + physicalSubPicNumber(chains, index, wide);
    return languageName(mat.vts_subp_attr[index].lang_code) + " (" + streamIdText(id) + ')';
}

std::unique_ptr<IfoFile> collect(const ifo_handle_t &ifo)
{
    if (!ifo.vtsi_mat || !ifo.vts_pgcit)
        return nullptr;
    const vtsi_mat_t &mat = *ifo.vtsi_mat;
    const std::vector<const pgc_t *> chains = programChainsOf(*ifo.vts_pgcit);

    auto file = std::make_unique<IfoFile>();
    for (const pgc_t *pgc : chains)
        file->chains.push_back(programChainOf(pgc));
    file->videoDesc = videoDescription(mat.vts_video_attr);
    const int audioCount = std::min<int>(mat.nr_of_vts_audio_streams, kMaxAudioStreams);
    for (int i = 0; i < audioCount; ++i)
        file->audioDescs.push_back(audioDescription(mat, chains, i));
    const int subPicCount = std::min<int>(mat.nr_of_vts_subp_streams, kMaxSubPicStreams);
    for (int i = 0; i < subPicCount; ++i)
        file->subPicDescs.push_back(subPicDescription(mat, chains, i));
    return file;
}

struct DvdCloser {
    void operator()(dvd_reader_t *dvd) const { DVDClose(dvd); }
};
struct IfoHandleCloser {
    void operator()(ifo_handle_t *ifo) const { ::ifoClose(ifo); }
};

std::unique_ptr<IfoFile> readTitleSet(const fs::path &root, int titleSet)
{
    std::unique_ptr<dvd_reader_t, DvdCloser> dvd(dvd::openDisc(root.string()));
    if (!dvd)
        return nullptr;
    std::unique_ptr<ifo_handle_t, IfoHandleCloser> ifo(::ifoOpen(dvd.get(), titleSet));
    if (!ifo)
        return nullptr;
    return collect(*ifo);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// VTS_NN_0.IFO in any case gives NN (1 to 99); anything else 0.
int titleSetNumberOf(std::string_view fileName)
{
    if (fileName.size() != 12 || !equalsIgnoringCase(fileName.substr(0, 4), "vts_") ||
        !equalsIgnoringCase(fileName.substr(6), "_0.ifo"))
        return 0;
    const char tens = fileName[4];
    const char units = fileName[5];
    if (tens < '0' || tens > '9' || units < '0' || units > '9')
        return 0;
    return (tens - '0') * 10 + (units - '0');
}

IfoHandle openTitleSetFile(const fs::path &given)
{
    std::error_code error;
    if (!fs::is_regular_file(given, error))
        return nullptr;
    fs::path path = fs::absolute(given, error);
    if (error)
        path = given;
    path = path.lexically_normal();
    const int titleSet = titleSetNumberOf(path.filename().native());
    if (titleSet < 1)
        return nullptr;

    const fs::path folder = path.parent_path();
    // At the disc root libdvdread can read a mounted disc through its drive; it finds
    // VIDEO_TS there only when the folder name is all upper or all lower case, so the
    // file's own folder is the fallback.
    std::vector<fs::path> roots;
    if (equalsIgnoringCase(folder.filename().native(), "video_ts") && folder.has_parent_path())
        roots.push_back(folder.parent_path());
    roots.push_back(folder);
    for (const fs::path &root : roots) {
        if (std::unique_ptr<IfoFile> file = readTitleSet(root, titleSet))
            return file.release();
    }
    return nullptr;
}

const ProgramChain *chainAt(IfoHandle handle, int pgc)
{
    if (!handle || pgc < 0 || pgc >= static_cast<int>(handle->chains.size()))
        return nullptr;
    return &handle->chains[static_cast<std::size_t>(pgc)];
}

const char *textAt(const std::vector<std::string> &texts, int index)
{
    if (index < 0 || index >= static_cast<int>(texts.size()))
        return "";
    return texts[static_cast<std::size_t>(index)].c_str();
}

} // namespace

IfoHandle ifoOpen(const char *path, int)
{
    if (!path || !*path)
        return nullptr;
    try {
        return openTitleSetFile(fs::path(path));
    } catch (const std::exception &) {
        // Path conversion or allocation failures count as an unreadable file.
        return nullptr;
    }
}

int ifoGetNumPGCI(IfoHandle handle)
{
    return handle ? static_cast<int>(handle->chains.size()) : 0;
}

int ifoGetPGCIInfo(IfoHandle handle, int pgc, IfoPlayingTime *time)
{
    const ProgramChain *chain = chainAt(handle, pgc);
    if (time)
        *time = chain ? chain->time : IfoPlayingTime{};
    return chain ? static_cast<int>(chain->cells.size()) : 0;
}

int ifoGetPGCICells(IfoHandle handle, int pgc, void *cells)
{
    const ProgramChain *chain = chainAt(handle, pgc);
    if (!chain || !cells)
        return 0;
    auto *out = static_cast<uint8_t *>(cells);
    for (const CellBytes &cell : chain->cells) {
        std::memcpy(out, cell.data(), cell.size());
        out += cell.size();
    }
    return static_cast<int>(chain->cells.size());
}

const char *ifoGetVideoDesc(IfoHandle handle)
{
    return handle ? handle->videoDesc.c_str() : "";
}

int ifoGetNumAudio(IfoHandle handle)
{
    return handle ? static_cast<int>(handle->audioDescs.size()) : 0;
}

const char *ifoGetAudioDesc(IfoHandle handle, int index)
{
    return handle ? textAt(handle->audioDescs, index) : "";
}

int ifoGetNumSubPic(IfoHandle handle)
{
    return handle ? static_cast<int>(handle->subPicDescs.size()) : 0;
}

const char *ifoGetSubPicDesc(IfoHandle handle, int index)
{
    return handle ? textAt(handle->subPicDescs, index) : "";
}

void ifoClose(IfoHandle handle)
{
    delete handle;
}

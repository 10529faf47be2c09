#include "profiles/catalogue.h"

#include "core/profilestate.h"

#include <utility>

namespace catalogue
{

const std::vector<CatalogueEntry> &entries()
{
    static const std::vector<CatalogueEntry> table = {
        {1, "pl_video1", "ASF-Advanced Streaming Format(*.asf)"},
        {2, "pl_video1", "AVI-DivX Movie(*.avi)"},
        {3, "pl_video1", "AVI-XviD Movie(*.avi)"},
        {4, "pl_video1", "MP4-MPEG-4 Video(*.mp4)"},
        {5, "pl_video1", "MP4-MPEG-4 AVC Video(*.mp4)"},
        {6, "pl_video1", "RM-Real Video(*.rm)"},
        {7, "pl_video1", "WMV-Windows Media Video(*.wmv)"},
        {8, "pl_video2", "3GPP-3rd Generation Partnership Project(*.3gp)"},
        {9, "pl_video2", "3GPP2-3rd Generation Partnership Project2(*.3g2)"},
        {10, "pl_video2", "MOV-Quick Time(*.mov)"},
        {11, "pl_video2", "FLV - Flash Video Format(*.flv)"},
        {12, "pl_video2", "SWF - SWF Format(*.swf)"},
        {13, "pl_video2", "RM-Real Video(*.rm)"},
        {14, "pl_video2", "WMV-Windows Media Video(*.wmv)"},
        {15, "pl_audio1", "AAC-Advanced Audio Coding(*.aac)"},
        {16, "pl_audio1", "AC3-Dolby Dingtal AC-3(*.ac3)"},
        {17, "pl_audio1", "MP3-MPEG Layer-3Audio(*.mp3)"},
        {18, "pl_audio1", "OGG-Ogg Vorbis Audio(*.ogg)"},
        {19, "pl_audio1", "RA-Real Auido(*.ra)"},
        {20, "pl_audio1", "WAV-Waveform Auido(*.wav)"},
        {21, "pl_audio1", "WMA-Windows Media Audio(*.wma)"},
        {22, "pl_audio2", "AIFF-Audio Interchange File Format(*.aiff)"},
        {23, "pl_audio2", "M4A-MPEG-4 Auido(*.m4a)"},
        {24, "pl_audio2", "MP2-MPEG Layer-2 Audio(*.mp2)"},
        {25, "pl_audio2", "SUN AU Format(*.au)"},
        {27, "pl_ipod", "iPod(320×240)MPEG-4 Codec(*.mp4)"},
        {28, "pl_ipod", "iPod(320×240)MPEG-4 AVC Codec(*.mp4)"},
        {29, "pl_ipod", "iPod(480×320)MPEG-4 Codec(*.mp4)"},
        {30, "pl_ipod", "iPod(480×320)MPEG-4 AVC Codec(*.mp4)"},
        {31, "pl_ipod", "iPod(640×480)MPEG-4 Codec(*.mp4)"},
        {32, "pl_ipod", "iPod(640×480)MPEG-4 AVC Codec(*.mp4)"},
        {33, "pl_ipod", "iPod Audio Format(*.mp3)"},
        {34, "pl_iphone", "iPhone(320×240)MPEG-4 Codec(*.mp4)"},
        {35, "pl_iphone", "iPhone(320×240)MPEG-4 AVC Codec(*.mp4)"},
        {36, "pl_iphone", "iPhone(480×320)MPEG-4 Codec(*.mp4)"},
        {37, "pl_iphone", "iPhone(480×320)MPEG-4 AVC Codec(*.mp4)"},
        {38, "pl_iphone", "iPhone(640×480)MPEG-4 Codec(*.mp4)"},
        {39, "pl_iphone", "iPhone(640×480)MPEG-4 AVC Codec(*.mp4)"},
        {40, "pl_iphone", "iPhone Audio Format(*.mp3)"},
        {41, "pl_gphone", "GPhone(320×240)MPEG-4 Codec(*.mp4)"},
        {42, "pl_gphone", "GPhone(320×240)H.264 Codec(*.mp4)"},
        {43, "pl_gphone", "GPhone(640×480)MPEG-4 Codec(*.mp4)"},
        {44, "pl_gphone", "GPhone(640×480)H.264 Codec(*.mp4)"},
        {45, "pl_gphone", "GPhone Audio Format(*.mp3)"},
        {46, "pl_appletv", "Apple TV MPEG-4 480P(640×480)(*.mp4)"},
        {47, "pl_appletv", "Apple TV MPEG-4 720P(1280×720)(*.mp4)"},
        {48, "pl_appletv", "Apple TV MPEG-4 (320×240)(*.mp4)"},
        {49, "pl_appletv", "Apple TV h264 480P(640×480)(*.mp4)"},
        {50, "pl_appletv", "Apple TV h264 720P(1280×720)(*.mp4)"},
        {51, "pl_appletv", "Apple TV h264(320×240)(*.mp4)"},
        {53, "pl_psp", "PS3 Video(1080P)MPEG-4(*.MP4)"},
        {54, "pl_psp", "PS3 Video(720P)MPEG-4(*.MP4)"},
        {55, "pl_psp", "PS3 Video(480P)MPEG-4(*.MP4)"},
        {56, "pl_psp", "PSP-PSP MPEG-4 Video(*.mp4)"},
        {57, "pl_psp", "PSP AVC Video Format(*.mp4)"},
        {58, "pl_psp", "PSP Video(480P)MPEG-4(*.mp4)"},
        {59, "pl_psp", "PSP Audio Format(*.mp3)"},
        {60, "pl_xbox", "Xbox360 WMV Movie(*.wmv)"},
        {61, "pl_xbox", "Xbox360 WMV HDTV Video(*.wmv)"},
        {62, "pl_xbox", "Xbox360 MPEG-4 AVC Video(*.mp4)"},
        {63, "pl_xbox", "Xbox360 HD MPEG-4 AVC Video(*.mp4)"},
        {64, "pl_xbox", "Xbox360 MPEG4 Video(*.mp4)"},
        {65, "pl_xbox", "Xbox360 HD MPEG-4 Video(*.mp4)"},
        {66, "pl_xbox", "Xbox360 MCE HD MPEG2 Video(*.mpeg)"},
        {68, "pl_phone", "3GPP-3rd Generation Partnership Project(*.3gp)"},
        {69, "pl_phone", "3GPP2-3rd Generation Partnership Project2(*.3g2)"},
        {70, "pl_phone", "BlackBerry 3GP Video(*.3gp)"},
        {71, "pl_phone", "BlackBerry AMR Audio(*.amr)"},
        {72, "pl_phone", "BlackBerry AVI Audio(*.avi)"},
        {73, "pl_phone", "BlackBerry MPEG-4 Video(*.mp4)"},
        {75, "pl_win", "Dell Axim X51 Video(*.wmv)"},
        {76, "pl_win", "General Pocket PC Video(*.wmv)"},
        {77, "pl_win", "HP iPAQ hw6500 series Video(*.wmv)"},
        {78, "pl_win", "HP iPAQ hx2000/rx3000/rx1900 series Video(*.wmv)"},
        {79, "pl_win", "HP iPAQ hx4700 series Video(*.wmv)"},
        {80, "pl_win", "WMA-Windows Media Audio(*.wma)"},
        {81, "pl_win", "WMV-Windows Media Video(*.wmv)"},
        {83, "pl_pmp", "Archos AV500/GMini402 Video(*.avi)"},
        {84, "pl_pmp", "Archos AV700 Video(*.avi)"},
        {85, "pl_pmp", "Creative Zen Vision Video(*.avi)"},
        {86, "pl_pmp", "Zune MPEG-4 AVC Video Format(*.mp4)"},
        {87, "pl_pmp", "Zune MPEG-4 Video(*.mp4)"},
        {88, "pl_pmp", "Zune WMV-Windows Media Video(*.wmv)"},
        {89, "pl_pmp", "iRiver PMP-100 Video(*.avi)"},
        {91, "pl_hd", "HD AVI Video(*.avi)"},
        {92, "pl_hd", "HD MPEG-4 Video(*.mp4)"},
        {93, "pl_hd", "HD MPEG-4 AVC Video(*.mp4)"},
        {94, "pl_hd", "HD MOV Video(*.mov)"},
        {95, "pl_hd", "HD MPEG-2 TS Video(*.ts)"},
        {96, "pl_hd", "HD MPEG2 Video(*.mpg)"},
        {97, "pl_hd", "HD WMV Video(*.wmv)"},
        {99, "pl_animation", "FLV - Flash Video Format(*.flv)"},
        {100, "pl_animation", "SWF - SWF Format(*.swf)"},
        {102, "pl_avi", "AVI - H264 Movie(*.avi)"},
        {103, "pl_avi", "AVI - DivX Movie(*.avi)"},
        {104, "pl_avi", "AVI - XviD Movie(*.avi)"},
        {105, "pl_avi", "AVI - MPEG-4 Movie(*.avi)"},
        {106, "pl_avi", "AVI - MSMPEG4 Movie(*.avi)"},
        {107, "pl_avi", "AVI - MPEG Movie(*.avi)"},
        {108, "pl_avi", "AVI - WMV Movie(*.avi)"},
        {110, "pl_mpeg", "MPEG-1 Movie(*.mpg)"},
        {111, "pl_mpeg", "MPEG-2 Movie(*.mpg)"},
        {112, "pl_mpeg", "Video CD - MPEG PS Format(*.mpg)"},
        {113, "pl_mpeg", "Super Video CD - MPEG2 PS Format(*.mpg)"},
        {114, "pl_mpeg", "DVD - MPEG2 PS Format(*.vob)"},
        {115, "pl_mpeg", "HD MPEG-2 Video(*.mpeg)"},
        {116, "pl_mpeg", "HD MPEG-2 TS Video(*.ts)"},
        {118, "pl_mp4", "MP4 - MPEG4 Video Mini(*.mp4)"},
        {119, "pl_mp4", "MP4 - MPEG4 Video Normal(*.mp4)"},
        {120, "pl_mp4", "MP4 - MPEG4 Video Excellent(*.mp4)"},
        {121, "pl_mp4", "MP4 - H.264 Video Mini(*.mp4)"},
        {122, "pl_mp4", "MP4 - H.264 Video Normal(*.mp4)"},
        {123, "pl_mp4", "MP4 - H.264 Video Excellent(*.MP4)"},
        {125, "pl_mkv", "MKV - H264 Movie(*.mkv)"},
        {126, "pl_mkv", "MKV - DivX Movie(*.mkv)"},
        {127, "pl_mkv", "MKV - XviD Movie(*.mkv)"},
        {128, "pl_mkv", "MKV - MPEG-4 Movie(*.mkv)"},
        {129, "pl_mkv", "MKV - MSMPEG4 Movie(*.mkv)"},
        {130, "pl_mkv", "MKV - MPEG Movie(*.mkv)"},
        {131, "pl_mkv", "MKV - WMV Movie(*.mkv)"},
    };
    return table;
}

const std::vector<Category> &categories()
{
    static const std::vector<Category> table = {
        {1, "img_gvideo1", {"pl_video1", "pl_video2", "pl_avi", "pl_mpeg", "pl_mp4", "pl_mkv"}},
        {2, "img_audio1", {"pl_audio1", "pl_audio2"}},
        {3, "img_ipod", {"pl_ipod"}},
        {4, "img_iphone", {"pl_iphone"}},
        {5, "img_gphone", {"pl_gphone"}},
        {6, "img_appletv", {"pl_appletv"}},
        {7, "img_psp", {"pl_psp"}},
        {8, "img_xbox", {"pl_xbox"}},
        {9, "img_phone", {"pl_phone"}},
        {10, "img_win", {"pl_win"}},
        {11, "img_pmp", {"pl_pmp"}},
        {12, "img_hd", {"pl_hd"}},
        {13, "img_animation", {"pl_animation"}},
    };
    return table;
}

QString description(int number)
{
    for (const CatalogueEntry &e : entries())
        if (e.number == number)
            return QString::fromUtf8(e.description);
    return {};
}

QString extension(int number)
{
    return extensionOfDescription(description(number));
}

bool isProfile(int number)
{
    return !description(number).isEmpty();
}

int defaultProfileForExe(const QString &exeFileName)
{
    static const std::pair<const char *, int> keywords[] = {
        {"avi", 102},   {"mp3", 17},  {"audio", 17}, {"3gp", 69},  {"psp", 53},
        {"mpeg", 110},  {"mp4", 118}, {"mkv", 125},  {"ipod", 27}, {"iphone", 36},
        {"gphone", 41}, {"wmv", 7},   {"rm", 6},     {"flv", 11},
    };
    const QString name = exeFileName.toLower();
    for (const auto &[word, profile] : keywords)
        if (name.contains(QLatin1String(word)))
            return profile;
    return 1;
}

} // namespace catalogue

#include "common/ffmpegcommand.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <string_view>

namespace tools
{

namespace
{

bool oneOf(std::string_view value, std::initializer_list<std::string_view> choices)
{
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

std::string joinFilters(const std::vector<std::string> &parts)
{
    std::string joined;
    for (const std::string &part : parts) {
        if (part.empty())
            continue;
        if (!joined.empty())
            joined += ',';
        joined += part;
    }
    return joined;
}

// Encoders that cannot take yuv420p (or must not be forced to it).
bool keepsOwnPixelFormat(const std::string &codec)
{
    return oneOf(codec, {"copy",     "mjpeg",       "ljpeg",     "png",     "apng",    "bmp",
                         "gif",      "tiff",        "huffyuv",   "ffvhuff", "dvvideo", "rawvideo",
                         "prores",   "prores_ks",   "prores_aw", "dnxhd",   "qtrle",   "jpegls",
                         "jpeg2000", "libopenjpeg", "utvideo",   "v210",    "r210",    "targa",
                         "ppm",      "pam",         "pgm",       "svq1"});
}

// "12200", "12.2k" or "12k" in bit/s; fallback when it is none of these.
int bitrateOf(const std::string &text, int fallback)
{
    if (text.empty())
        return fallback;
    char *end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str())
        return fallback;
    if (*end == 'k' || *end == 'K')
        value *= 1000;
    else if (*end == 'M' || *end == 'm')
        value *= 1000000;
    if (value <= 0 || value > 1e9)
        return fallback;
    return static_cast<int>(value + 0.5);
}

const std::string *findValue(const std::vector<EncoderOption> &options,
                             std::initializer_list<std::string_view> names)
{
    const std::string *found = nullptr;
    for (const EncoderOption &option : options) {
        if (option.hasValue && oneOf(option.name, names))
            found = &option.value;
    }
    return found;
}

} // namespace

std::string FfmpegCommand::modernCodec(const std::string &name, bool audio)
{
    const std::string codec = lowerAscii(name);
    if (audio) {
        if (oneOf(codec, {"libfaac", "faac", "libvo_aacenc", "aac_latm"}))
            return "aac";
        if (oneOf(codec, {"mp3", "libmp3lame", "mp3lame"}))
            return "libmp3lame";
        if (oneOf(codec, {"vorbis", "libvorbis"}))
            return "libvorbis";
        // Debian's ffmpeg encodes no AMR; only .amr outputs get it, through our own encoder.
        if (oneOf(codec, {"amr_nb", "libopencore_amrnb", "libamr_nb", "samr", "amr_wb", "libamr_wb",
                          "libvo_amrwbenc", "sawb"}))
            return "aac";
        return name;
    }
    if (oneOf(codec, {"xvid", "libxvid"}))
        return "libxvid";
    if (oneOf(codec, {"h264", "x264", "libx264", "avc"}))
        return "libx264";
    if (oneOf(codec, {"h265", "hevc", "x265", "libx265"}))
        return "libx265";
    if (codec == "divx")
        return "mpeg4";
    if (codec == "wmv3")
        return "wmv2";
    if (codec == "flv1")
        return "flv";
    if (codec == "mpeg1")
        return "mpeg1video";
    if (codec == "mpeg2")
        return "mpeg2video";
    if (codec == "theora")
        return "libtheora";
    if (codec == "vp8")
        return "libvpx";
    return name;
}

bool FfmpegCommand::isAudioOnlyExtension(const std::string &extension)
{
    return oneOf(lowerAscii(extension),
                 {"mp3", "wav", "aac", "ac3", "ogg", "oga", "mp2", "wma", "ra", "aiff", "aif", "au",
                  "m4a", "amr", "flac", "opus", "mka", "dts"});
}

std::string FfmpegCommand::fileUrl(const std::string &path)
{
    return "file:" + path;
}

std::vector<std::string> FfmpegCommand::presetOptions(const std::string &name)
{
    const std::string preset = lowerAscii(name);
    if (oneOf(preset, {"ultrafast", "superfast", "veryfast", "faster", "fast", "medium", "slow",
                       "slower", "veryslow", "placebo"}))
        return {"-preset", preset};
    if (oneOf(preset, {"baseline", "main", "high"}))
        return {"-profile:v", preset};
    if (preset.rfind("ipod", 0) == 0)
        return {"-profile:v", "baseline"};
    if (oneOf(preset, {"hq", "max", "slowfirstpass"}))
        return {"-preset", "slow"};
    if (oneOf(preset, {"normal", "default"}))
        return {"-preset", "medium"};
    if (preset == "fastfirstpass")
        return {"-preset", "fast"};
    return {};
}

FfmpegPlan FfmpegCommand::build(const EncoderArgs &args, const DvdStreamPlan &dvd,
                                const std::string &program)
{
    FfmpegPlan plan;
    std::vector<std::string> &argv = plan.argv;
    const std::string extension = args.outputExtension();
    const std::vector<EncoderOption> &options = args.outputOptions();

    // Progress comes as key=value blocks on descriptor 3; errors alone on standard error.
    argv = {program,     "-nostdin", "-hide_banner", "-nostats",
            "-loglevel", "error",    "-progress",    "pipe:3"};
    argv.push_back(args.overwrite() ? "-y" : "-n");
    for (const EncoderOption &option : args.inputOptions()) {
        argv.push_back(option.name);
        if (option.hasValue)
            argv.push_back(option.value);
    }
    if (dvd.active) {
        argv.insert(argv.end(), {"-f", "mpeg"});
        // A subtitle that starts late is only found when the probe reads that far.
        if (dvd.probeSize > 0) {
            argv.insert(argv.end(),
                        {"-probesize", std::to_string(std::max(dvd.probeSize, 5000000LL)),
                         "-analyzeduration", "3600000000"});
        }
        argv.insert(argv.end(), {"-i", "pipe:0"});
    } else {
        argv.insert(argv.end(), {"-i", fileUrl(args.input())});
    }

    if (extension == "amr") {
        plan.amrOutput = true;
        if (const std::string *rate = findValue(options, {"-ab", "-b:a", "-b:a:0"}))
            plan.amrBitrate = bitrateOf(*rate, 12200);
        for (const EncoderOption &option : options) {
            if (oneOf(option.name, {"-ss", "-t", "-to", "-af", "-filter:a", "-async"}) &&
                option.hasValue) {
                argv.push_back(option.name);
                argv.push_back(option.value);
            }
        }
        if (dvd.active && !dvd.audioMap.empty())
            argv.insert(argv.end(), {"-map", dvd.audioMap});
        argv.insert(argv.end(), {"-vn", "-sn", "-ac", "1", "-ar", "8000", "-c:a", "pcm_s16le", "-f",
                                 "s16le", "pipe:1"});
        return plan;
    }

    const bool audioOnly = isAudioOnlyExtension(extension);
    const bool videoOff = audioOnly || args.hasOption("-vn");
    const bool audioOff = args.hasOption("-an");
    const bool discTarget = args.hasOption("-target");
    const bool deinterlace = (dvd.active && !discTarget) || args.hasOption("-deinterlace");

    std::vector<std::string> translated;
    std::vector<std::string> userFilters;
    std::string videoCodec;
    int crop[4] = {0, 0, 0, 0}; // top, bottom, left, right
    bool cropping = false;
    for (const EncoderOption &option : options) {
        std::string name = option.name;
        std::string value = option.value;
        if (name == "-b")
            name = "-b:v";
        else if (name == "-ab")
            name = "-b:a";
        else if (name == "-qscale")
            name = "-q:v";
        if (oneOf(name, {"-vcodec", "-c:v", "-codec:v"})) {
            value = modernCodec(value, false);
            videoCodec = value;
        } else if (oneOf(name, {"-acodec", "-c:a", "-codec:a"})) {
            value = modernCodec(value, true);
        } else if (oneOf(name, {"-vf", "-filter:v"})) {
            userFilters.push_back(value);
            continue;
        } else if (name == "-deinterlace") {
            continue;
        } else if (name == "-sameq") {
            plan.notes.push_back("-sameq is no longer supported; the bit rate is used instead");
            continue;
        } else if (oneOf(name, {"-croptop", "-cropbottom", "-cropleft", "-cropright"})) {
            const int index = name == "-croptop"      ? 0
                              : name == "-cropbottom" ? 1
                              : name == "-cropleft"   ? 2
                                                      : 3;
            crop[index] = std::max(0, std::atoi(value.c_str()));
            cropping = true;
            continue;
        } else if (oneOf(name, {"-padtop", "-padbottom", "-padleft", "-padright", "-padcolor"})) {
            plan.notes.push_back(name + " is no longer supported and was ignored");
            continue;
        } else if (oneOf(name, {"-title", "-author", "-comment", "-copyright", "-album"})) {
            const std::string key = name == "-author" ? "artist" : name.substr(1);
            translated.insert(translated.end(), {"-metadata", key + "=" + value});
            continue;
        } else if (name == "-vpre") {
            const std::vector<std::string> preset = presetOptions(value);
            if (preset.empty())
                plan.notes.push_back("unknown preset '" + value + "' was ignored");
            translated.insert(translated.end(), preset.begin(), preset.end());
            continue;
        } else if (oneOf(name, {"-apre", "-fpre", "-spre"})) {
            plan.notes.push_back(name + " is no longer supported and was ignored");
            continue;
        } else if (name == "-flags") {
            for (size_t at = value.find("4mv"); at != std::string::npos;
                 at = value.find("4mv", at + 3))
                value.replace(at, 3, "mv4");
        }
        translated.push_back(name);
        if (option.hasValue)
            translated.push_back(value);
    }

    // A source kept at its own size may not fit the codec's blocks (an odd width for
    // 4:2:0 video, rv10's 16-pixel blocks): round the size down to what the codec takes.
    if (!videoOff) {
        const int step = videoCodec == "rv10" ? 16 : videoCodec == "rv20" ? 4 : 2;
        for (size_t i = 0; i + 1 < translated.size(); ++i) {
            if (translated[i] != "-s")
                continue;
            const std::string &size = translated[i + 1];
            const size_t x = size.find('x');
            char *end = nullptr;
            const long width = x == std::string::npos ? 0 : std::strtol(size.c_str(), &end, 10);
            const bool widthOk = end == size.c_str() + x;
            const long height = widthOk ? std::strtol(size.c_str() + x + 1, &end, 10) : 0;
            if (!widthOk || *end != '\0' || width < step || height < step)
                continue;
            if (width % step == 0 && height % step == 0)
                continue;
            const std::string fitted =
                std::to_string(width - width % step) + "x" + std::to_string(height - height % step);
            plan.notes.push_back("the picture size " + size + " was made " + fitted +
                                 " to suit the codec");
            translated[i + 1] = fitted;
        }
    }

    if (audioOnly && !args.hasOption("-vn"))
        argv.push_back("-vn");
    if (!videoOff && !keepsOwnPixelFormat(videoCodec))
        argv.insert(argv.end(), {"-pix_fmt", "yuv420p"});

    std::vector<std::string> before;
    if (deinterlace)
        before.push_back("yadif");
    if (cropping) {
        before.push_back("crop=iw-" + std::to_string(crop[2] + crop[3]) + ":ih-" +
                         std::to_string(crop[0] + crop[1]) + ":" + std::to_string(crop[2]) + ":" +
                         std::to_string(crop[0]));
    }
    const std::string beforeChain = joinFilters(before);
    const std::string afterChain = joinFilters(userFilters);
    if (!videoOff) {
        if (dvd.active && !dvd.subtitleMap.empty()) {
            std::string graph = "[0:v:0]";
            if (!beforeChain.empty())
                graph += beforeChain + "[base];[base]";
            graph += "[" + dvd.subtitleMap + "]overlay=eof_action=pass";
            if (!afterChain.empty())
                graph += "," + afterChain;
            graph += "[v]";
            argv.insert(argv.end(), {"-filter_complex", graph, "-map", "[v]"});
        } else {
            if (dvd.active)
                argv.insert(argv.end(), {"-map", "0:v:0"});
            const std::string chain = joinFilters({beforeChain, afterChain});
            if (!chain.empty())
                argv.insert(argv.end(), {"-vf", chain});
        }
    }
    if (dvd.active && !audioOff && !dvd.audioMap.empty())
        argv.insert(argv.end(), {"-map", dvd.audioMap});

    argv.insert(argv.end(), translated.begin(), translated.end());
    // A .vob without NAV packs does not play as DVD video.
    if (extension == "vob" && !args.hasOption("-f"))
        argv.insert(argv.end(), {"-f", "dvd"});
    argv.push_back(fileUrl(args.output()));
    return plan;
}

} // namespace tools

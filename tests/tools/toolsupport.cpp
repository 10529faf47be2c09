#include "tools/toolsupport.h"

#include "support/testenv.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/pixdesc.h>
}

namespace fs = std::filesystem;

namespace toolsupport
{

std::string programDir()
{
    return testenv::programDir().toStdString();
}
std::string clipsDir()
{
    return testenv::fixtureDir().toStdString() + "/clips";
}
std::string clip(const std::string &name)
{
    return clipsDir() + "/" + name;
}
std::string dvdDir()
{
    return testenv::fixtureDir().toStdString() + "/dvd";
}
std::string toolPath(const std::string &name)
{
    return programDir() + "/" + name;
}

TempDir::TempDir(const std::string &prefix)
{
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()))
        m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    if (!m_path.empty())
        fs::remove_all(m_path, ec);
}

process::CapturedRun runTool(const std::string &tool, const std::vector<std::string> &args)
{
    std::vector<std::string> argv{toolPath(tool)};
    argv.insert(argv.end(), args.begin(), args.end());
    return process::runCaptured(argv);
}

std::optional<MediaSummary> inspectMedia(const std::string &path, std::string *error)
{
    auto fail = [error](const std::string &message) -> std::optional<MediaSummary> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext *context = nullptr;
    const std::string url = "file:" + path;
    if (avformat_open_input(&context, url.c_str(), nullptr, nullptr) < 0)
        return fail("cannot open " + path);
    if (avformat_find_stream_info(context, nullptr) < 0) {
        avformat_close_input(&context);
        return fail("no stream info in " + path);
    }
    MediaSummary summary;
    summary.format = context->iformat->name;
    if (context->duration != AV_NOPTS_VALUE && context->duration > 0)
        summary.durationSeconds = static_cast<double>(context->duration) / AV_TIME_BASE;

    std::vector<AVCodecContext *> decoders(context->nb_streams, nullptr);
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVCodecParameters *par = context->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            ++summary.videoStreams;
            if (summary.videoCodec.empty()) {
                summary.videoCodec = avcodec_get_name(par->codec_id);
                summary.width = par->width;
                summary.height = par->height;
                if (const char *pix = av_get_pix_fmt_name(static_cast<AVPixelFormat>(par->format)))
                    summary.pixelFormat = pix;
            }
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            ++summary.audioStreams;
            if (summary.audioCodec.empty())
                summary.audioCodec = avcodec_get_name(par->codec_id);
        } else {
            ++summary.dataStreams;
            continue;
        }
        const AVCodec *codec = avcodec_find_decoder(par->codec_id);
        if (!codec)
            continue;
        AVCodecContext *decoder = avcodec_alloc_context3(codec);
        if (avcodec_parameters_to_context(decoder, par) < 0 ||
            avcodec_open2(decoder, codec, nullptr) < 0) {
            avcodec_free_context(&decoder);
            continue;
        }
        decoders[i] = decoder;
    }

    AVPacket *packet = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    auto drain = [&](AVCodecContext *decoder) {
        while (avcodec_receive_frame(decoder, frame) == 0) {
            if (decoder->codec_type == AVMEDIA_TYPE_VIDEO)
                ++summary.decodedVideoFrames;
            else
                ++summary.decodedAudioFrames;
            av_frame_unref(frame);
        }
    };
    for (int packets = 0; packets < 300 && av_read_frame(context, packet) >= 0; ++packets) {
        const auto index = static_cast<size_t>(packet->stream_index);
        AVCodecContext *decoder = index < decoders.size() ? decoders[index] : nullptr;
        if (decoder && avcodec_send_packet(decoder, packet) >= 0)
            drain(decoder);
        av_packet_unref(packet);
    }
    for (AVCodecContext *decoder : decoders) {
        if (!decoder)
            continue;
        avcodec_send_packet(decoder, nullptr);
        drain(decoder);
        avcodec_free_context(&decoder);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_close_input(&context);
    return summary;
}

double toneFrequency(const std::string &path)
{
    const process::CapturedRun run = process::runCaptured(
        {"ffmpeg", "-nostdin", "-v", "error", "-i", "file:" + path, "-map", "0:a:0", "-ac", "1",
         "-ar", "48000", "-f", "s16le", "-c:a", "pcm_s16le", "-"});
    const size_t count = run.out.size() / 2;
    const auto *samples = reinterpret_cast<const int16_t *>(run.out.data());
    // Skip the first half second (encoder start-up) and count crossings with some hysteresis.
    const size_t first = std::min<size_t>(count, 24000);
    int crossings = 0;
    int sign = 0;
    for (size_t i = first; i < count; ++i) {
        const int now = samples[i] > 200 ? 1 : samples[i] < -200 ? -1 : 0;
        if (now != 0 && sign != 0 && now != sign)
            ++crossings;
        if (now != 0)
            sign = now;
    }
    const double seconds = static_cast<double>(count - first) / 48000.0;
    return seconds > 0 ? crossings / 2.0 / seconds : 0;
}

std::vector<unsigned char> greyFrameAt(const std::string &path, double seconds)
{
    const process::CapturedRun run = process::runCaptured(
        {"ffmpeg", "-nostdin", "-v", "error", "-ss", std::to_string(seconds), "-i", "file:" + path,
         "-frames:v", "1", "-s", "64x48", "-pix_fmt", "gray", "-f", "rawvideo", "-"});
    return std::vector<unsigned char>(run.out.begin(), run.out.end());
}

bool fileExists(const std::string &path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

long long fileSize(const std::string &path)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<long long>(size);
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void copyFile(const std::string &from, const std::string &to)
{
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

std::vector<std::string> listDir(const std::string &path)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(path, ec))
        names.push_back(entry.path().filename().string());
    return names;
}

namespace
{

std::vector<std::string> segmentsOf(const std::string &report)
{
    std::vector<std::string> segments;
    size_t start = 0;
    for (size_t cr = report.find('\r'); cr != std::string::npos; cr = report.find('\r', start)) {
        segments.push_back(report.substr(start, cr - start + 1));
        start = cr + 1;
        if (start < report.size() && report[start] == '\n')
            ++start;
    }
    return segments;
}

std::string segmentOf(const std::vector<std::string> &segments, const std::string &keyword)
{
    for (const std::string &segment : segments) {
        if (segment.find(keyword) != std::string::npos)
            return segment;
    }
    return {};
}

std::string rateFigure(const std::string &segment)
{
    const size_t kbps = segment.find(" kb/s");
    if (kbps == std::string::npos)
        return {};
    size_t from = kbps;
    for (int steps = 0; steps < 10 && from > 0; ++steps) {
        --from;
        if (segment[from] == ' ')
            return segment.substr(from + 1, kbps - from - 1);
    }
    return segment.substr(from, kbps - from);
}

std::string withoutLast(const std::string &text)
{
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

} // namespace

LegacyProbe parseLegacyProbe(const std::string &report)
{
    LegacyProbe probe;
    const std::vector<std::string> segments = segmentsOf(report);
    if (const size_t at = report.find("Duration:"); at != std::string::npos)
        probe.duration = report.substr(at + 10, 8);
    probe.bitrate = rateFigure(segmentOf(segments, "bitrate:"));

    const std::string video = segmentOf(segments, "Video:");
    probe.videoBitrate = rateFigure(video);
    if (!video.empty()) {
        const std::string rest = withoutLast(video.substr(video.find("Video:")));
        if (const size_t x = rest.find('x'); x != std::string::npos) {
            size_t from = x;
            for (int steps = 0; steps < 10 && from > 0; ++steps) {
                if (rest[from - 1] == ' ')
                    break;
                --from;
            }
            size_t to = x + 1;
            while (to < rest.size() && to - x <= 10 && rest[to] >= '0' && rest[to] <= '9')
                ++to;
            probe.size = rest.substr(from, to - from);
        }
        const size_t start = video.find("Video:") + 7;
        probe.videoFormat = video.substr(start, video.find(',') - start);
        if (const size_t comma = video.find(','); comma != std::string::npos) {
            std::string tail = withoutLast(video.substr(comma + 1));
            for (int i = 0; i < 3; ++i) {
                if (const size_t next = tail.find(','); next != std::string::npos)
                    tail.erase(0, next + 1);
            }
            probe.frameRate = tail;
        }
    }

    const std::string audio = segmentOf(segments, "Audio:");
    probe.audioBitrate = rateFigure(audio);
    if (!audio.empty()) {
        const std::string rest = withoutLast(audio.substr(audio.find("Audio:") + 7));
        const size_t first = rest.find(',');
        probe.audioFormat = rest.substr(0, first);
        if (first != std::string::npos) {
            const size_t second = rest.find(',', first + 1);
            probe.sampleRate = rest.substr(first + 1, second - first - 1);
            if (second != std::string::npos) {
                const size_t third = rest.find(',', second + 1);
                probe.channels = rest.substr(second + 1, third - second - 1);
            }
        }
    }
    return probe;
}

long long legacyProgressSeconds(const std::string &line)
{
    const size_t time = line.find("time=");
    if (time == std::string::npos)
        return 0;
    const size_t bitrate = line.find("bitrate=");
    if (bitrate == std::string::npos || bitrate <= time)
        return 0;
    const size_t dot = line.find('.', time + 5);
    if (dot == std::string::npos || dot >= bitrate)
        return 0;
    const std::string digits = line.substr(time + 5, dot - time - 5);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const long long value = std::atoll(digits.c_str());
    return value > 100000 ? 0 : value;
}

} // namespace toolsupport

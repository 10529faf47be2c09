#include "common/probewriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <numeric>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/pixdesc.h>
}

namespace tools
{

namespace
{

// Commas separate the fields the converter counts, and the first "x" of a video line is
// taken as the size: neither may appear in the fields before it.
std::string field(const std::string &text, bool beforeSize = false)
{
    std::string clean;
    for (char c : text) {
        if (c == ',' || c == '\r' || c == '\n')
            continue;
        clean += beforeSize && c == 'x' ? 'X' : c;
    }
    return clean.empty() ? "unknown" : clean;
}

std::string timeText(long long us)
{
    if (us < 0)
        us = 0;
    const long long centis = (us + 5000) / 10000;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld.%02lld", centis / 360000,
                  centis / 6000 % 60, centis / 100 % 60, centis % 100);
    return buffer;
}

std::string avError(int code)
{
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, buffer, sizeof buffer);
    return buffer;
}

// Matroska, WebM and Ogg mostly store no rate per stream, so one is measured from the packets of
// the first seconds: long enough to even out a key frame, short enough to keep the probe quick.
constexpr int64_t kSampleUs = 3 * AV_TIME_BASE;
constexpr int64_t kShortestSampleUs = AV_TIME_BASE / 2; // below this a rate says little
constexpr int kMaxPackets = 4000;
constexpr int64_t kMaxBytes = 8 << 20;

struct RateSample {
    int64_t bytes = 0;
    int packets = 0;
    int stamped = 0;            // packets with a time stamp
    bool lastUndurated = false; // the latest-ending packet had no duration
    int64_t firstUs = AV_NOPTS_VALUE;
    int64_t endUs = AV_NOPTS_VALUE; // latest time stamp plus duration
    int64_t durationsUs = 0;
    bool complete = false;

    // The stream time the counted bytes stand for.
    int64_t coveredUs() const
    {
        int64_t span = stamped > 0 ? endUs - firstUs : 0;
        // Without its duration the last packet is left out of the span: add an average one.
        if (lastUndurated && stamped > 1)
            span += span / (stamped - 1);
        // Packets without time stamps (inside an Ogg page) still carry their durations.
        return std::max(span, durationsUs);
    }
};

void measureRates(AVFormatContext *context, std::vector<ProbeStream> &streams)
{
    std::vector<ProbeStream *> targets(context->nb_streams, nullptr);
    int remaining = 0;
    for (ProbeStream &stream : streams) {
        const bool media =
            stream.kind == ProbeStream::Kind::Video || stream.kind == ProbeStream::Kind::Audio;
        if (media && stream.bitRate <= 0) {
            targets[static_cast<size_t>(stream.index)] = &stream;
            ++remaining;
        }
    }
    if (remaining == 0)
        return;
    // The demuxer skips the packets of the other streams instead of handing them over.
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        if (!targets[i])
            context->streams[i]->discard = AVDISCARD_ALL;
    }

    std::vector<RateSample> samples(context->nb_streams);
    AVPacket *packet = av_packet_alloc();
    int64_t startUs = AV_NOPTS_VALUE;
    int64_t bytes = 0;
    for (int packets = 0; packet && remaining > 0 && packets < kMaxPackets && bytes < kMaxBytes &&
                          av_read_frame(context, packet) >= 0;
         ++packets) {
        bytes += packet->size;
        const auto index = static_cast<size_t>(packet->stream_index);
        if (index >= targets.size() || !targets[index]) {
            av_packet_unref(packet);
            continue;
        }
        const AVRational timeBase = context->streams[index]->time_base;
        RateSample &sample = samples[index];
        sample.bytes += packet->size;
        ++sample.packets;
        const int64_t durationUs =
            packet->duration > 0 ? av_rescale_q(packet->duration, timeBase, AV_TIME_BASE_Q) : 0;
        sample.durationsUs += durationUs;
        const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        av_packet_unref(packet);
        if (stamp != AV_NOPTS_VALUE) {
            const int64_t us = av_rescale_q(stamp, timeBase, AV_TIME_BASE_Q);
            ++sample.stamped;
            if (sample.firstUs == AV_NOPTS_VALUE || us < sample.firstUs)
                sample.firstUs = us;
            if (sample.endUs == AV_NOPTS_VALUE || us + durationUs >= sample.endUs) {
                sample.endUs = us + durationUs;
                sample.lastUndurated = durationUs == 0;
            }
            if (startUs == AV_NOPTS_VALUE)
                startUs = us;
            // A stream with nothing in the first seconds must not keep the reading going.
            if (us - startUs > 2 * kSampleUs)
                break;
        }
        if (!sample.complete && sample.coveredUs() >= kSampleUs) {
            sample.complete = true;
            --remaining;
        }
    }
    av_packet_free(&packet);

    for (size_t i = 0; i < targets.size(); ++i) {
        const RateSample &sample = samples[i];
        const int64_t coveredUs = sample.coveredUs();
        if (targets[i] && sample.packets > 1 && coveredUs >= kShortestSampleUs)
            targets[i]->bitRate = sample.bytes * 8 * AV_TIME_BASE / coveredUs;
    }
}

} // namespace

long long ProbeWriter::overallKbps(const ProbeInfo &info)
{
    if (info.bitRate > 0)
        return info.bitRate / 1000;
    if (info.fileSize > 0 && info.durationUs > 0)
        return info.fileSize * 8 * 1000 / info.durationUs;
    long long sum = 0;
    for (const ProbeStream &stream : info.streams)
        sum += stream.bitRate;
    return sum / 1000;
}

std::string ProbeWriter::format(const ProbeInfo &info)
{
    std::string report;
    char buffer[512];
    const long long overall = overallKbps(info);
    // A stream rate above the whole file's is a header's maximum, not a measurement
    // (MPEG-1 video reports 104857 kb/s).
    auto streamKbps = [overall](const ProbeStream &stream) -> long long {
        const long long kbps = stream.bitRate / 1000;
        if (kbps <= 0 || (overall > 0 && kbps > overall))
            return 0;
        return kbps;
    };
    long long audioKbps = 0;
    for (const ProbeStream &stream : info.streams) {
        if (stream.kind == ProbeStream::Kind::Audio)
            audioKbps += streamKbps(stream);
    }

    report += "Input #0, " + field(info.formatName) + ":\r\n";
    const long long startUs = info.startUs < 0 ? -info.startUs : info.startUs;
    std::snprintf(buffer, sizeof buffer,
                  "  Duration: %s, start: %s%lld.%06lld, bitrate: %lld kb/s\r\n",
                  timeText(info.durationUs).c_str(), info.startUs < 0 ? "-" : "", startUs / 1000000,
                  startUs % 1000000, overall);
    report += buffer;

    for (const ProbeStream &stream : info.streams) {
        std::string line = "    Stream #0." + std::to_string(stream.index) + ": ";
        switch (stream.kind) {
        case ProbeStream::Kind::Video: {
            line += "Video: " + field(stream.codec, true) + ", " + field(stream.pixelFormat, true) +
                    ", " + std::to_string(stream.width) + "x" + std::to_string(stream.height);
            if (stream.sarNum > 0 && stream.sarDen > 0 && stream.width > 0 && stream.height > 0) {
                long long darNum = static_cast<long long>(stream.width) * stream.sarNum;
                long long darDen = static_cast<long long>(stream.height) * stream.sarDen;
                const long long divisor = std::gcd(darNum, darDen);
                std::snprintf(buffer, sizeof buffer, " [PAR %d:%d DAR %lld:%lld]", stream.sarNum,
                              stream.sarDen, darNum / divisor, darDen / divisor);
                line += buffer;
            }
            // The rate field must be there so that the frame rate stays the fourth field:
            // without a measured rate, what the audio leaves of the whole.
            long long kbps = streamKbps(stream);
            if (kbps == 0)
                kbps = overall > audioKbps ? overall - audioKbps : overall;
            std::snprintf(buffer, sizeof buffer, ", %lld kb/s, %.2f tb(r)", kbps, stream.frameRate);
            line += buffer;
            break;
        }
        case ProbeStream::Kind::Audio: {
            line += "Audio: " + field(stream.codec) + ", " + std::to_string(stream.sampleRate) +
                    " Hz, " + field(stream.channelLayout);
            if (const long long kbps = streamKbps(stream); kbps > 0)
                line += ", " + std::to_string(kbps) + " kb/s";
            break;
        }
        case ProbeStream::Kind::Subtitle:
            line += "Subtitle: " + field(stream.codec);
            break;
        case ProbeStream::Kind::Data:
            line += "Data: " + field(stream.codec);
            break;
        }
        report += line + "\r\n";
    }
    return report;
}

std::optional<ProbeInfo> ProbeWriter::read(const std::string &path, std::string *error)
{
    auto fail = [error](const std::string &message) -> std::optional<ProbeInfo> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    // The report is the only output; the library's own messages would interleave with it.
    av_log_set_level(AV_LOG_QUIET);

    AVFormatContext *context = nullptr;
    const std::string url = "file:" + path;
    int rc = avformat_open_input(&context, url.c_str(), nullptr, nullptr);
    if (rc < 0)
        return fail(avError(rc));
    rc = avformat_find_stream_info(context, nullptr);
    if (rc < 0) {
        avformat_close_input(&context);
        return fail(avError(rc));
    }

    ProbeInfo info;
    std::string name = context->iformat && context->iformat->name ? context->iformat->name : "";
    info.formatName = name.substr(0, name.find(','));
    info.bitRate = context->bit_rate;
    info.startUs = context->start_time != AV_NOPTS_VALUE ? context->start_time : 0;
    if (context->pb)
        info.fileSize = avio_size(context->pb);
    long long streamDurationUs = -1;

    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream *st = context->streams[i];
        const AVCodecParameters *par = st->codecpar;
        if (st->duration != AV_NOPTS_VALUE && st->duration > 0) {
            const long long us = av_rescale_q(st->duration, st->time_base, AV_TIME_BASE_Q);
            if (us > streamDurationUs)
                streamDurationUs = us;
        }
        if (st->disposition & AV_DISPOSITION_ATTACHED_PIC)
            continue;
        ProbeStream stream;
        stream.index = static_cast<int>(i);
        stream.codec = avcodec_get_name(par->codec_id);
        if (const AVCodec *encoder = avcodec_find_encoder(par->codec_id))
            stream.encoder = encoder->name;
        stream.bitRate = par->bit_rate;
        switch (par->codec_type) {
        case AVMEDIA_TYPE_VIDEO: {
            stream.kind = ProbeStream::Kind::Video;
            if (const char *pix = av_get_pix_fmt_name(static_cast<AVPixelFormat>(par->format)))
                stream.pixelFormat = pix;
            stream.width = par->width;
            stream.height = par->height;
            AVRational sar =
                st->sample_aspect_ratio.num ? st->sample_aspect_ratio : par->sample_aspect_ratio;
            if (sar.num > 0 && sar.den > 0) {
                stream.sarNum = sar.num;
                stream.sarDen = sar.den;
            }
            AVRational rate = st->avg_frame_rate.num && st->avg_frame_rate.den ? st->avg_frame_rate
                                                                               : st->r_frame_rate;
            if (rate.num && rate.den)
                stream.frameRate = av_q2d(rate);
            break;
        }
        case AVMEDIA_TYPE_AUDIO: {
            stream.kind = ProbeStream::Kind::Audio;
            stream.sampleRate = par->sample_rate;
            stream.channels = par->ch_layout.nb_channels;
            char layout[128] = {};
            if (av_channel_layout_describe(&par->ch_layout, layout, sizeof layout) > 0)
                stream.channelLayout = layout;
            if (stream.bitRate <= 0) {
                // Uncompressed audio states no rate but has a fixed one.
                const int bits = av_get_bits_per_sample(par->codec_id);
                if (bits > 0)
                    stream.bitRate = static_cast<long long>(bits) * par->sample_rate *
                                     par->ch_layout.nb_channels;
            }
            break;
        }
        case AVMEDIA_TYPE_SUBTITLE:
            stream.kind = ProbeStream::Kind::Subtitle;
            break;
        default:
            stream.kind = ProbeStream::Kind::Data;
            break;
        }
        info.streams.push_back(stream);
    }
    info.durationUs = context->duration != AV_NOPTS_VALUE && context->duration > 0
                          ? context->duration
                          : streamDurationUs;
    // A stored rate above the whole file's is a header's maximum (MPEG-1 video): measure it.
    if (const long long overall = overallKbps(info); overall > 0) {
        for (ProbeStream &stream : info.streams) {
            if (stream.bitRate / 1000 > overall)
                stream.bitRate = 0;
        }
    }
    measureRates(context, info.streams);
    avformat_close_input(&context);

    bool media = false;
    for (const ProbeStream &stream : info.streams) {
        media = media || stream.kind == ProbeStream::Kind::Video ||
                stream.kind == ProbeStream::Kind::Audio;
    }
    if (!media)
        return fail("no audio or video stream found");
    return info;
}

} // namespace tools

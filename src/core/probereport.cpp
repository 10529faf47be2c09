#include "core/probereport.h"

#include <QStringList>

namespace
{

// The report cut at carriage returns; each segment keeps its carriage return and
// text after the last one belongs to no segment.
QStringList segmentsOf(const QString &report)
{
    QStringList segments;
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = report.indexOf(QLatin1Char('\r'), start);
        if (cr < 0)
            break;
        segments << report.mid(start, cr - start + 1);
        start = cr + 1;
    }
    return segments;
}

QString segmentOf(const QStringList &segments, const QString &keyword)
{
    for (const QString &s : segments)
        if (s.contains(keyword))
            return s;
    return {};
}

QString rateFigure(const QString &segment)
{
    const qsizetype kbs = segment.indexOf(QLatin1String(" kb/s"));
    if (kbs < 0)
        return {};
    qsizetype blank = -1;
    for (qsizetype i = kbs - 1; i >= 0 && i >= kbs - 10; --i) {
        if (segment[i] == QLatin1Char(' ')) {
            blank = i;
            break;
        }
    }
    if (blank < 0)
        blank = std::max<qsizetype>(kbs - 11, -1);
    return segment.mid(blank + 1, kbs - blank - 1);
}

// The text up to the first comma (the whole text when there is none) and the rest after it.
QString takeField(QString &text)
{
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0) {
        const QString field = text;
        text.clear();
        return field;
    }
    const QString field = text.left(comma);
    text = text.mid(comma + 1);
    return field;
}

} // namespace

ProbeReport parseProbeReport(const QString &report)
{
    ProbeReport r;
    const QStringList segments = segmentsOf(report);

    const qsizetype duration = report.indexOf(QLatin1String("Duration:"));
    if (duration >= 0)
        r.duration = report.mid(duration + 10, 8);

    r.bitrate = rateFigure(segmentOf(segments, QStringLiteral("bitrate:")));

    const QString video = segmentOf(segments, QStringLiteral("Video:"));
    if (!video.isEmpty()) {
        r.videoBitrate = rateFigure(video);
        const qsizetype v = video.indexOf(QLatin1String("Video:"));
        const QString fromVideo = video.mid(v, video.size() - v - 1);
        const qsizetype x = fromVideo.indexOf(QLatin1Char('x'));
        if (x >= 0) {
            qsizetype begin = x;
            for (qsizetype i = x - 1; i >= 0 && i >= x - 10; --i) {
                begin = i;
                if (fromVideo[i] == QLatin1Char(' ')) {
                    begin = i + 1;
                    break;
                }
            }
            qsizetype end = x + 1;
            while (end < fromVideo.size() && end <= x + 10 && fromVideo[end].isDigit() &&
                   fromVideo[end] <= QLatin1Char('9'))
                ++end;
            r.size = fromVideo.mid(begin, end - begin);
        }
        const qsizetype comma = video.indexOf(QLatin1Char(','));
        r.videoFormat = video.mid(v + 7, (comma < 0 ? video.size() : comma) - (v + 7));
        if (comma >= 0) {
            QString rest = video.mid(comma + 1, video.size() - comma - 2);
            for (int i = 0; i < 3; ++i) {
                const qsizetype c = rest.indexOf(QLatin1Char(','));
                if (c >= 0)
                    rest = rest.mid(c + 1);
            }
            r.frameRate = rest;
        }
    }

    const QString audio = segmentOf(segments, QStringLiteral("Audio:"));
    if (!audio.isEmpty()) {
        r.audioBitrate = rateFigure(audio);
        const qsizetype a = audio.indexOf(QLatin1String("Audio:"));
        QString rest = audio.mid(a + 7, audio.size() - (a + 7) - 1); // without the carriage return
        r.audioFormat = takeField(rest);
        r.sampleRate = takeField(rest);
        r.channels = takeField(rest);
    }
    return r;
}

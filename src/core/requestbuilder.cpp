#include "core/requestbuilder.h"

#include "core/commandline.h"
#include "core/edition.h"
#include "core/formatsettings.h"
#include "core/joblist.h"
#include "core/profilestate.h"
#include "core/textlookup.h"
#include "core/timetext.h"

#include <array>

namespace
{

constexpr std::array<int, 5> kAudioRates = {320, 192, 128, 64, 32};
constexpr std::array<int, 5> kAmrRates = {12200, 10200, 7400, 5900, 4750}; // bit/s
constexpr std::array<int, 5> kAmrRatesRounded = {12, 10, 7, 6, 5};
// With no chosen quality the middle position, "Normal", is used.
constexpr int kDefaultQuality = 2;
constexpr int kDefaultChannels = 2;

int toIntOr0(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

bool isOutsideSlotRange(int profile)
{
    return profile < 15 || profile > 101;
}

} // namespace

double qualityFactor(int profile, int position)
{
    static constexpr std::array<double, 5> mini = {3.33, 2.13, 1.51, 1.06, 0.8};
    static constexpr std::array<double, 5> excellent = {10.41, 8.33, 6.25, 4.16, 3.33};
    static constexpr std::array<double, 5> normal = {6.25, 4.16, 3.33, 2.13, 1.51};
    if (position < 0 || position > 4)
        position = kDefaultQuality;
    if (profile == 118 || profile == 121)
        return mini[size_t(position)];
    if (profile == 120 || profile == 123)
        return excellent[size_t(position)];
    return normal[size_t(position)];
}

RequestBuilder::RequestBuilder(const JobList &jobs, const Edition &edition,
                               const ProfileState &profile, const FormatSettings &settings,
                               const TextLookup &texts)
    : m_jobs(jobs), m_edition(edition), m_profile(profile), m_settings(settings), m_texts(texts)
{
}

const Toriginalinfo *RequestBuilder::sourceFacts() const
{
    const auto &infos = m_jobs.originalInfos();
    if (m_estimateRow < 0 || size_t(m_estimateRow) >= infos.size())
        return nullptr;
    return &infos[size_t(m_estimateRow)];
}

bool RequestBuilder::sourceSizeChosen() const
{
    const QString item = addText(m_texts, QStringLiteral("The original width and height"));
    return m_settings.cb_size.selected() >= 0 && m_settings.cb_size.selectedItem() == item;
}

bool RequestBuilder::sourceVideoQualityChosen() const
{
    const QString item = addText(m_texts, QStringLiteral("The Original Video Quliay"));
    return m_settings.cb_videobitrate.selected() >= 0 &&
           m_settings.cb_videobitrate.selectedItem() == item;
}

bool RequestBuilder::sourceAudioQualityChosen() const
{
    const QString item = addText(m_texts, QStringLiteral("The Original Audio Quliay"));
    return m_settings.cb_audiobitrate.selected() >= 0 &&
           m_settings.cb_audiobitrate.selectedItem() == item;
}

int RequestBuilder::videoPosition() const
{
    const int p = m_settings.cb_videobitrate.selected();
    return p >= 0 && p <= 4 ? p : kDefaultQuality;
}

int RequestBuilder::audioPosition() const
{
    const int p = m_settings.cb_audiobitrate.selected();
    return p >= 0 && p <= 4 ? p : kDefaultQuality;
}

bool RequestBuilder::amrOutput() const
{
    const QString ext = m_profile.profileExtension();
    return ext == QLatin1String(".3gp") || ext == QLatin1String(".amr");
}

bool RequestBuilder::keepsSourceSize() const
{
    // An empty size box (a profile that remembers no choice, on a fresh install) would
    // give "-s" without a size, and the encoder would take the next option for it.
    return sourceSizeChosen() || m_settings.cb_size.text().trimmed().isEmpty();
}

QString RequestBuilder::sizeArg() const
{
    if (m_profile.isDiscTarget() || !m_settings.cb_size.isEnabled())
        return {};
    if (keepsSourceSize()) {
        const Toriginalinfo *facts = sourceFacts();
        const QString size = facts ? facts->resolution.trimmed() : QString();
        return size.isEmpty() ? QString() : QStringLiteral(" -s ") + size;
    }
    QString text = m_settings.cb_size.text();
    const qsizetype paren = text.indexOf(QLatin1Char('('));
    if (paren >= 0)
        text = text.left(paren);
    return QStringLiteral(" -s ") + text;
}

QString RequestBuilder::aspectArg(const QString &sizeArg) const
{
    if (m_profile.isDiscTarget() || !m_settings.cb_size.isEnabled() || sizeArg.isEmpty())
        return {};
    const QString size = sizeArg.mid(4);
    const qsizetype x = size.indexOf(QLatin1Char('x'));
    bool okW = false, okH = false;
    const int w = size.left(x < 0 ? 0 : x).toInt(&okW, 10);
    const int h = (x < 0 ? QString() : size.mid(x + 1)).toInt(&okH, 10);
    if (!okW || !okH || h == 0)
        return {};
    // Five significant digits, four decimals, and always a "." for the encoder.
    const double ratio = QString::number(double(w) / double(h), 'g', 5).toDouble();
    return QStringLiteral(" -aspect ") + QString::number(ratio, 'f', 4);
}

int32_t RequestBuilder::videoPart() const
{
    const int n = m_profile.activeProfile;
    if (n >= 16 && n <= 100) {
        if (m_profile.videoRateSlots[0] == QLatin1String("*"))
            return 0;
        return toIntOr0(m_profile.videoRateSlots[size_t(videoPosition())]);
    }
    if (sourceVideoQualityChosen()) {
        const Toriginalinfo *facts = sourceFacts();
        return facts ? toIntOr0(facts->videoBitrate) : 0;
    }
    QString heightText;
    if (keepsSourceSize()) {
        const Toriginalinfo *facts = sourceFacts();
        const QString res = facts ? facts->resolution : QString();
        const qsizetype x = res.indexOf(QLatin1Char('x'));
        heightText = x < 0 ? QString() : res.mid(x + 1);
    } else {
        const QString text = m_settings.cb_size.text();
        const qsizetype x = text.indexOf(QLatin1Char('x'));
        if (x < 0)
            return -1; // no size at all: the whole estimate is 0
        heightText = text.mid(x + 1);
        const qsizetype paren = heightText.indexOf(QLatin1Char('('));
        if (paren >= 0)
            heightText = heightText.left(paren);
    }
    bool ok = false;
    const int h = heightText.toInt(&ok, 10);
    if (!ok)
        return 0;
    return int32_t(roundHalfEven(h * qualityFactor(n, videoPosition())));
}

int32_t RequestBuilder::estimateKbps() const
{
    switch (m_profile.activeProfile) {
    case 112:
        return 1393;
    case 113:
        return 1948;
    case 114:
        return 3222;
    default:
        break;
    }
    const int32_t v = videoPart();
    if (v < 0)
        return 0;
    int32_t a = 0;
    const QString ext = m_profile.profileExtension();
    if (sourceAudioQualityChosen()) {
        const Toriginalinfo *facts = sourceFacts();
        a = facts ? toIntOr0(facts->audioBitrate) : 0;
    } else {
        a = kAudioRates[size_t(audioPosition())];
    }
    if (amrOutput())
        a = kAmrRatesRounded[size_t(audioPosition())];
    else if (ext == QLatin1String(".wav"))
        a = 1500;
    return v + a;
}

QString RequestBuilder::videoRateArg() const
{
    const int n = m_profile.activeProfile;
    if (m_profile.isDiscTarget())
        return {};
    if (isOutsideSlotRange(n)) {
        if (sourceVideoQualityChosen()) {
            const Toriginalinfo *facts = sourceFacts();
            const qint64 kbps = facts ? toIntOr0(facts->videoBitrate) : 0;
            return QStringLiteral(" -r 25 -b ") + QString::number(kbps * 1000);
        }
        return QStringLiteral(" -r 25 -b ") +
               QString::number(qint64(std::max(videoPart(), 0)) * 1000);
    }
    if (m_profile.videoRateSlots[0] == QLatin1String("*"))
        return {};
    return QStringLiteral(" -r 25 -b ") + m_profile.videoRateSlots[size_t(videoPosition())] +
           QStringLiteral("000");
}

QString RequestBuilder::audioRateArg() const
{
    if (m_profile.isDiscTarget())
        return {};
    QString arg;
    if (sourceAudioQualityChosen()) {
        const Toriginalinfo *facts = sourceFacts();
        const qint64 kbps = facts ? toIntOr0(facts->audioBitrate) : 0;
        arg = QStringLiteral(" -ab ") + QString::number(kbps * 1000);
    } else {
        arg =
            QStringLiteral(" -ab ") + QString::number(kAudioRates[size_t(audioPosition())] * 1000);
    }
    if (amrOutput())
        arg = QStringLiteral(" -ab ") + QString::number(kAmrRates[size_t(audioPosition())]);
    return arg;
}

QString RequestBuilder::sampleRateArg(const QString &audioRateArg) const
{
    if (m_profile.isDiscTarget() || audioRateArg.isEmpty())
        return {};
    const qint64 n = audioRateArg.mid(5).trimmed().toLongLong();
    QString arg;
    if (n > 192000)
        arg = QStringLiteral(" -ar 48000 ");
    else if (n > 64000)
        arg = QStringLiteral(" -ar 44100 ");
    else
        arg = QStringLiteral(" -ar 22050 ");
    const QString ext = m_profile.profileExtension();
    if (amrOutput())
        arg = QStringLiteral(" -ar 8000 ");
    if (ext == QLatin1String(".flv") || ext == QLatin1String(".swf"))
        arg = QStringLiteral(" -ar 22050 ");
    return arg;
}

QString RequestBuilder::channelsArg() const
{
    if (amrOutput())
        return QStringLiteral(" -ac 1 ");
    const int p = m_settings.cb_channel.selected();
    const int channels = p >= 0 ? p + 1 : kDefaultChannels;
    return QStringLiteral(" -ac ") + QString::number(channels);
}

void RequestBuilder::fillRequest(int row, intputrec &request)
{
    m_estimateRow = row;
    if (m_edition.isFileEdition()) {
        request.inputPath =
            m_jobs.isValidRow(row) ? m_jobs.originalInfo(row).sourcePath : QString();
    } else {
        const auto &infos = m_jobs.convertInfos();
        const auto &ranges = m_jobs.dvdRanges();
        request.inputPath = (size_t(row) < infos.size() && size_t(row) < ranges.size())
                                ? dvdInputText(infos[size_t(row)], ranges[size_t(row)])
                                : QString();
    }
    request.sizeArg = sizeArg();
    request.aspectArg = aspectArg(request.sizeArg);
    request.videoRateArg = videoRateArg();
    request.audioRateArg = audioRateArg();
    request.durationSeconds =
        m_jobs.isValidRow(row) ? timeTextToSeconds(m_jobs.originalInfo(row).durationText) : 0;
    request.sampleRateArg = sampleRateArg(request.audioRateArg);
    request.channelsArg = channelsArg();
    const QString standard = m_settings.cb_size.text().toLower();
    switch (m_profile.activeProfile) {
    case 112:
        request.profileOptions = QStringLiteral(" -target ") + standard + QStringLiteral("-vcd ");
        break;
    case 113:
        request.profileOptions = QStringLiteral(" -target ") + standard + QStringLiteral("-svcd ");
        break;
    case 114:
        request.profileOptions = QStringLiteral(" -target ") + standard + QStringLiteral("-dvd ");
        break;
    default:
        request.profileOptions = m_profile.profileOptions;
        break;
    }
}

void RequestBuilder::recomputeOutputSizes(JobList &jobs)
{
    for (int i = 0; i < jobs.rowCount(); ++i) {
        m_estimateRow = i;
        jobs.setCell(
            i, JobList::OutputSizeColumn,
            outputSizeText(estimateKbps(), timeTextToSeconds(jobs.originalInfo(i).durationText)));
    }
}

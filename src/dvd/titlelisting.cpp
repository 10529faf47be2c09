#include "dvd/titlelisting.h"

#include "core/joblist.h"
#include "core/textlookup.h"
#include "core/timetext.h"
#include "dvd/dvdtables.h"

#include <QFile>

namespace
{

// The reader library behind the listing's calls; one file at a time.
class LibraryReader : public IfoSource
{
public:
    bool open(const QString &path) override
    {
        m_file.reset(ifoOpen(QFile::encodeName(path).constData(), 0));
        return bool(m_file);
    }
    int numPgci() override { return ifoGetNumPGCI(m_file.get()); }
    int pgciInfo(int pgc, IfoPlayingTime &time) override
    {
        return ifoGetPGCIInfo(m_file.get(), pgc, &time);
    }
    std::vector<IfoCellRecord> cells(int pgc, int count) override
    {
        std::vector<IfoCellRecord> records(size_t(std::max(count, 0)));
        if (count > 0)
            records.resize(size_t(std::max(0, ifoGetPGCICells(m_file.get(), pgc, records.data()))));
        return records;
    }
    QString videoDesc() override { return QString::fromUtf8(ifoGetVideoDesc(m_file.get())); }
    int numAudio() override { return ifoGetNumAudio(m_file.get()); }
    QString audioDesc(int index) override
    {
        return QString::fromUtf8(ifoGetAudioDesc(m_file.get(), index));
    }
    int numSubPic() override { return ifoGetNumSubPic(m_file.get()); }
    QString subPicDesc(int index) override
    {
        return QString::fromUtf8(ifoGetSubPicDesc(m_file.get(), index));
    }

private:
    IfoFilePtr m_file;
};

int cellSeconds(const IfoCellRecord &cell)
{
    return TitleListing::hmsToSeconds(cell.hours, cell.minutes, cell.seconds);
}

QString firstWord(const QString &text)
{
    const int blank = text.indexOf(QLatin1Char(' '));
    return blank < 0 ? text : text.left(blank + 1); // with its trailing blank
}

} // namespace

std::unique_ptr<IfoSource> makeIfoReader()
{
    return std::make_unique<LibraryReader>();
}

TitleListing::TitleListing(Context context) : m_c(std::move(context)) {}

int TitleListing::hmsToSeconds(uint8_t hours, uint8_t minutes, uint8_t seconds)
{
    return hours * 3600 + minutes * 60 + seconds;
}

QString TitleListing::twoDigits(int number)
{
    return number < 10 ? QStringLiteral("0") + QString::number(number) : QString::number(number);
}

QString TitleListing::streamIdOf(const QString &description)
{
    const int close = description.indexOf(QLatin1Char(')'));
    if (close < 0)
        return QStringLiteral("0");
    const int start = std::max(0, close - 4);
    return description.mid(start, close - start);
}

QString TitleListing::pictureSizeWord(const QString &videoDescription)
{
    const int first = videoDescription.indexOf(QLatin1Char(' '));
    if (first < 0)
        return {};
    const int second = videoDescription.indexOf(QLatin1Char(' '), first + 1);
    if (second < 0)
        return {};
    return videoDescription.mid(first + 1, second - first - 1);
}

void TitleListing::readIfo(const QString &path)
{
    read(path, !m_c.tables.titleView);
}

int TitleListing::appendRow(const QString &caption)
{
    const int row = m_c.jobs.appendRow(caption);
    auto &infos = m_c.jobs.convertInfos();
    if (infos.size() <= size_t(row))
        infos.resize(size_t(row) + 1);
    infos[size_t(row)] = TConvertInfo{};
    m_c.jobs.dvdRanges()[size_t(row)] = TDvdRange{};
    m_c.jobs.originalInfo(row) = Toriginalinfo{};
    return row;
}

void TitleListing::dropLastRow()
{
    m_c.jobs.removeRow(m_c.jobs.rowCount() - 1);
}

void TitleListing::read(const QString &path, bool chapters)
{
    if (m_c.tables.ifoFiles.empty())
        m_c.tables.ifoFiles.push_back({});
    TIFOSelint &file = m_c.tables.ifoFiles.back();
    file.ifoPath = path;
    IfoSource &r = m_c.reader;
    if (!r.open(path))
        return;
    const int n = r.numPgci();
    file.firstRow = m_c.jobs.rowCount();
    file.audioCount = r.numAudio();
    file.audioDescs.clear();
    for (int i = 0; i < file.audioCount; ++i)
        file.audioDescs << r.audioDesc(i);
    file.subPicCount = r.numSubPic();
    file.subPicDescs.clear();
    for (int i = 0; i < file.subPicCount; ++i)
        file.subPicDescs << r.subPicDesc(i);
    const QString audioId = file.audioDescs.isEmpty() ? QStringLiteral("0")
                                                      : streamIdOf(file.audioDescs.first());
    const QString status =
        m_c.texts.LookUpText(QStringLiteral("Add"), QStringLiteral("Status"), QStringLiteral("Status"));
    const auto sizeText = [this](int row, int64_t seconds) {
        if (m_c.setEstimateRow)
            m_c.setEstimateRow(row);
        return m_c.outputSize ? m_c.outputSize(seconds) : QString();
    };

    for (int p = 0; p < n; ++p) {
        IfoPlayingTime time{};
        const int count = r.pgciInfo(p, time);
        const std::vector<IfoCellRecord> cells = r.cells(p, count);
        const int row = appendRow(QString());
        const int d = hmsToSeconds(time.hours, time.minutes, time.seconds);
        if (d == 0) {
            dropLastRow();
            continue;
        }
        TConvertInfo &info = m_c.jobs.convertInfos()[size_t(row)];
        info.audioId = audioId;
        info.subtitleId = QStringLiteral("0");
        int32_t beginSector = 0;
        for (size_t i = 0; i <= 100 && i + 1 < cells.size(); ++i) {
            if (cellSeconds(cells[i]) > 1 && cells[i + 1].programNumber == 1) {
                beginSector = int32_t(cells[i].firstSector + 300);
                break;
            }
        }
        const int32_t endSector = cells.empty() ? 0 : int32_t(cells.back().lastSector);
        if (int64_t(endSector) - beginSector < 1000) {
            dropLastRow();
            continue;
        }
        info.beginSector = beginSector;
        info.endSector = endSector;
        info.ifoPath = path;
        info.duration = d;
        info.beginTime = 0;
        info.endTime = d;
        TDvdRange &range = m_c.jobs.dvdRanges()[size_t(row)];
        range.beginSector = chapters ? int32_t(cells.empty() ? 0 : cells.front().firstSector)
                                     : beginSector;
        range.endSector = endSector;
        range.beginTime = 0;
        range.endTime = d;
        range.isTitle = 1;

        const QString video = r.videoDesc();
        const QString size = pictureSizeWord(video);
        Toriginalinfo &facts = m_c.jobs.originalInfo(row);
        facts.resolution = size;
        facts.durationText = secondsToTimeText(d);
        if (!chapters) {
            facts.videoFormat = firstWord(video);
            facts.audioFormat = firstWord(r.audioDesc(1));
        }
        m_c.jobs.setCaption(row, QStringLiteral("Title_") + twoDigits(m_c.jobs.rowCount()));
        m_c.jobs.setCell(row, JobList::SizeColumn, size);
        m_c.jobs.setCell(row, JobList::TimeColumn, secondsToTimeText(d));
        m_c.jobs.setCell(row, JobList::OutputSizeColumn, sizeText(row, d));
        m_c.jobs.setStatus(row, status);

        if (!chapters)
            continue;
        int offset = 0;
        const size_t k = cells.size();
        for (size_t j = 0; j < k; ++j) {
            if (!(j == k - 1 || cells[j].programNumber < cells[j + 1].programNumber))
                continue;
            const int crow = appendRow(QString());
            if (m_c.setEstimateRow)
                m_c.setEstimateRow(crow);
            const int cd = cellSeconds(cells[j]);
            if (cd == 0) {
                dropLastRow();
                continue;
            }
            TConvertInfo &ci = m_c.jobs.convertInfos()[size_t(crow)];
            ci.subtitleId = QStringLiteral("0");
            ci.audioId = audioId;
            ci.beginSector = int32_t(cells[j].firstSector);
            ci.endSector = int32_t(cells[j].lastSector);
            if (int64_t(ci.endSector) - ci.beginSector < 1000) {
                dropLastRow();
                continue;
            }
            ci.ifoPath = path;
            ci.duration = cd;
            m_c.jobs.setCaption(crow, QStringLiteral("  Chapter_") + twoDigits(int(j) + 1));
            const QString cvideo = r.videoDesc();
            const QString csize = pictureSizeWord(cvideo);
            Toriginalinfo &cf = m_c.jobs.originalInfo(crow);
            cf.resolution = csize.trimmed();
            cf.durationText = secondsToTimeText(cd);
            m_c.jobs.setCell(crow, JobList::SizeColumn, csize);
            if (j > 0)
                offset += cellSeconds(cells[j - 1]);
            m_c.jobs.setCell(crow, JobList::TimeColumn, secondsToTimeText(cd));
            m_c.jobs.setCell(crow, JobList::OutputSizeColumn, sizeText(crow, cd));
            ci.beginTime = offset;
            ci.endTime = offset + cd;
            TDvdRange &cr = m_c.jobs.dvdRanges()[size_t(crow)];
            cr.beginSector = ci.beginSector;
            cr.endSector = ci.endSector;
            cr.beginTime = offset;
            cr.endTime = offset + cd;
            cr.isTitle = 0;
            m_c.jobs.setStatus(crow, status);
        }
    }
    file.rowEnd = m_c.jobs.rowCount();
}

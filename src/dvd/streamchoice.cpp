#include "dvd/streamchoice.h"

#include "core/joblist.h"
#include "core/textlookup.h"
#include "dvd/dvdtables.h"
#include "dvd/titlelisting.h"

StreamChoice::StreamChoice(Context context) : m_c(std::move(context)) {}

QString StreamChoice::streamNameOf(const QString &description)
{
    const int open = description.indexOf(QLatin1Char('('));
    return open < 0 ? QString() : description.left(open);
}

void StreamChoice::fillStreamLists(int row)
{
    const TIFOSelint *file = nullptr;
    for (const TIFOSelint &f : m_c.tables.ifoFiles)
        if (row >= f.firstRow && row < f.rowEnd)
            file = &f; // the later record wins
    if (!file)
        return;
    const auto addText = [this](const char *english) {
        const QString key = QString::fromLatin1(english);
        return m_c.texts.LookUpText(QStringLiteral("Add"), key, key);
    };
    QStringList audio;
    m_audioTable.clear();
    for (const QString &d : file->audioDescs) {
        const QString name = streamNameOf(d);
        audio << (name.contains(QLatin1Char('?')) ? addText("Unknown Audio") : name);
        m_audioTable << d;
    }
    if (m_c.showAudio)
        m_c.showAudio(audio, m_c.tables.audioChoiceOf(row));
    QStringList subtitles{addText("No Subtitle")};
    m_subtitleTable = QStringList{QString()};
    for (const QString &d : file->subPicDescs) {
        const QString name = streamNameOf(d);
        subtitles << (name.contains(QLatin1Char('?')) ? addText("Unknown Subtitle") : name);
        m_subtitleTable << d;
    }
    if (m_c.showSubtitles)
        m_c.showSubtitles(subtitles, m_c.tables.subtitleChoiceOf(row));
}

void StreamChoice::cb_audioChange(int index)
{
    const int row = m_c.jobs.firstSelected();
    if (row < 0 || index < 0)
        return;
    m_c.tables.setAudioChoice(row, index);
    if (size_t(row) < m_c.jobs.convertInfos().size())
        m_c.jobs.convertInfos()[size_t(row)].audioId = TitleListing::streamIdOf(m_audioTable.value(index));
}

void StreamChoice::cb_subtitleChange(int index)
{
    const int row = m_c.jobs.firstSelected();
    if (row < 0 || index < 0)
        return;
    m_c.tables.setSubtitleChoice(row, index);
    if (size_t(row) < m_c.jobs.convertInfos().size())
        m_c.jobs.convertInfos()[size_t(row)].subtitleId =
            TitleListing::streamIdOf(m_subtitleTable.value(index));
}

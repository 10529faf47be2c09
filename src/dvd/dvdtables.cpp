#include "dvd/dvdtables.h"

#include <algorithm>

int longestRow(const std::vector<TConvertInfo> &infos, int rowCount)
{
    int best = 0;
    int64_t bestSpan = 0;
    for (int i = 0; i < rowCount && size_t(i) < infos.size(); ++i) {
        const int64_t span = int64_t(infos[size_t(i)].endSector) - infos[size_t(i)].beginSector;
        if (span > bestSpan) {
            bestSpan = span;
            best = i;
        }
    }
    return best;
}

namespace
{

int32_t at(const std::vector<int32_t> &v, int row)
{
    return row >= 0 && size_t(row) < v.size() ? v[size_t(row)] : 0;
}

void put(std::vector<int32_t> &v, int row, int32_t value)
{
    if (row < 0)
        return;
    if (v.size() <= size_t(row))
        v.resize(size_t(row) + 1, 0);
    v[size_t(row)] = value;
}

} // namespace

void DvdTables::store(int row, bool checked)
{
    if (row < 0)
        return;
    std::optional<std::vector<bool>> &marks = current();
    if (!marks)
        marks.emplace();
    if (marks->size() <= size_t(row))
        marks->resize(size_t(row) + 1, true);
    (*marks)[size_t(row)] = checked;
}

int32_t DvdTables::audioChoiceOf(int row) const
{
    return at(audioChoice, row);
}

int32_t DvdTables::subtitleChoiceOf(int row) const
{
    return at(subtitleChoice, row);
}

void DvdTables::setAudioChoice(int row, int32_t position)
{
    put(audioChoice, row, position);
}

void DvdTables::setSubtitleChoice(int row, int32_t position)
{
    put(subtitleChoice, row, position);
}

void DvdTables::clearChoices()
{
    std::fill(audioChoice.begin(), audioChoice.end(), 0);
    std::fill(subtitleChoice.begin(), subtitleChoice.end(), 0);
}

void resetDvdTables(DvdTables &tables, std::vector<TConvertInfo> &convertInfos)
{
    tables.ifoFiles.clear();
    convertInfos.clear();
    tables.titleChecks.reset();
    tables.chapterChecks.reset();
    tables.clearChoices();
}

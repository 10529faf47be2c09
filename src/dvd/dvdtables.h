#pragma once

#include "core/jobrecords.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// The row with the largest sector span; the first of equal spans wins, and row 0
// when no span is positive.
int longestRow(const std::vector<TConvertInfo> &infos, int rowCount);

// One information file read into the list.
struct TIFOSelint {
    int32_t firstRow = 0; // rows that existed before the file was read
    int32_t rowEnd = 0;   // one past the file's last row
    int32_t audioCount = 0;
    QStringList audioDescs;
    int32_t subPicCount = 0;
    QStringList subPicDescs;
    QString ifoPath;
};

// The tables behind a DVD job list: the information files read, which view the
// list shows, the tick marks remembered per view and the stream chosen per row.
// The stream choices grow with the rows.
struct DvdTables {
    std::vector<TIFOSelint> ifoFiles;
    bool titleView = true; // titles only; false: titles followed by their chapters
    std::optional<std::vector<bool>> titleChecks;   // absent until a view stores marks
    std::optional<std::vector<bool>> chapterChecks;
    std::vector<int32_t> audioChoice;
    std::vector<int32_t> subtitleChoice;

    std::optional<std::vector<bool>> &current() { return titleView ? titleChecks : chapterChecks; }
    // Writes one row's mark into the current view's list, growing it as needed.
    void store(int row, bool checked);
    // The stream choice of a row; 0 (first audio stream, no subtitle) for rows not chosen yet.
    int32_t audioChoiceOf(int row) const;
    int32_t subtitleChoiceOf(int row) const;
    void setAudioChoice(int row, int32_t position);
    void setSubtitleChoice(int row, int32_t position);
    // Every stream choice back to 0.
    void clearChoices();
};

// Empties the files and the per-row DVD records, forgets the tick marks of both
// views and sets every stream choice back to 0.
void resetDvdTables(DvdTables &tables, std::vector<TConvertInfo> &convertInfos);

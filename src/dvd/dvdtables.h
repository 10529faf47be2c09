#pragma once

#include "core/jobrecords.h"

#include <vector>

// The row with the largest sector span; the first of equal spans wins, and row 0
// when no span is positive.
int longestRow(const std::vector<TConvertInfo> &infos, int rowCount);

// Which rows the list shows and the tick marks remembered for each view, by row.
struct DvdViewChecks {
    bool titleView = true; // titles only; false: titles followed by their chapters
    std::vector<bool> titleChecks;
    std::vector<bool> chapterChecks;

    std::vector<bool> &current() { return titleView ? titleChecks : chapterChecks; }
    // Writes one row's mark into the current view's list, growing it as needed.
    void store(int row, bool checked)
    {
        std::vector<bool> &marks = current();
        if (row < 0)
            return;
        if (marks.size() <= size_t(row))
            marks.resize(size_t(row) + 1, false);
        marks[size_t(row)] = checked;
    }
};

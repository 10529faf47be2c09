#pragma once

#include "core/jobrecords.h"

#include <vector>

// The row with the largest sector span; the first of equal spans wins, and row 0
// when no span is positive.
int longestRow(const std::vector<TConvertInfo> &infos, int rowCount);

#include "dvd/dvdtables.h"

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

#pragma once

#include <QString>

#include <cstdint>

// "hh:mm:ss" with at least two digits each; 100 hours and more give three-digit hours.
QString secondsToTimeText(int32_t seconds);

// Reads characters 1-2, 4-5 and 7-8 as hours, minutes and seconds; anything after
// the eighth character is ignored. Any piece that is not an integer gives 0.
int32_t timeTextToSeconds(const QString &text);

#pragma once

#include "common/encoderargs.h"

namespace tools
{

// One conversion: runs ffmpeg, feeds it DVD sectors when the input is a DVD, encodes AMR
// where ffmpeg cannot, and prints progress in the old console form. Returns the exit code.
int runConversion(const EncoderArgs &args);

// Writes the probe report of the input; 0 when the file was read, 1 otherwise.
int runProbe(const EncoderArgs &args);

} // namespace tools

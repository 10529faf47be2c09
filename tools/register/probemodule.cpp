// The probe report of register.dat, in a module of its own so that only a probe
// loads libavformat.
#include "common/probewriter.h"

#include <cstdlib>
#include <cstring>

extern "C" {

// The report in the old layout when *ok is set, else the error text; the caller
// frees the text with free().
__attribute__((visibility("default"))) char *marlo_probe_report(const char *path, int *ok)
{
    std::string error;
    const std::optional<tools::ProbeInfo> info = tools::ProbeWriter::read(path, &error);
    const std::string text = info ? tools::ProbeWriter::format(*info) : error;
    *ok = info ? 1 : 0;
    char *copy = static_cast<char *>(std::malloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}
}

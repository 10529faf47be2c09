// register.dat: the converter's encoder. Takes the old FFmpeg-style command line, runs the
// system's ffmpeg (never through a shell) and answers in the old console format.
#include "common/encoderargs.h"
#include "process/childprocess.h"
#include "process/fdio.h"
#include "register/conversion.h"

#include <csignal>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    process::ensureStandardFds();
    // A reader that went away must not kill us before ffmpeg has finished the file.
    std::signal(SIGPIPE, SIG_IGN);

    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<tools::EncoderArgs> parsed = tools::EncoderArgs::parse(args, &error);
    if (!parsed) {
        process::writeAll(2, "register.dat: " + error + "\n");
        return 1;
    }
    return parsed->isProbe() ? tools::runProbe(*parsed) : tools::runConversion(*parsed);
}

// join.dll: the converter's merge tool. Joins its inputs, in order, into one file of the
// output's container, copying the streams where the container allows it. The result is
// written under a temporary name in the output folder and only then given its name, so a
// failed merge leaves nothing behind and an existing file is never replaced.
#include "common/encoderargs.h"
#include "common/joinplan.h"
#include "common/probewriter.h"
#include "process/capturedrun.h"
#include "process/childprocess.h"
#include "process/fdio.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace tools;
using process::CapturedRun;
using process::runCaptured;
using process::writeAll;

namespace
{

struct JoinRequest {
    std::vector<std::string> inputs;
    std::string output;
};

void say(const std::string &line)
{
    writeAll(1, line + "\n");
}
void complain(const std::string &line)
{
    writeAll(2, "join.dll: " + line + "\n");
}

std::optional<JoinRequest> parseArgs(const std::vector<std::string> &rawArgs)
{
    std::vector<std::string> args;
    for (const std::string &arg : rawArgs) {
        if (!arg.empty())
            args.push_back(arg);
    }
    JoinRequest request;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool hasNext = i + 1 < args.size();
        if (arg == "-kestrab") {
            if (!hasNext) {
                complain("-kestrab needs a file");
                return std::nullopt;
            }
            request.inputs.push_back(args[++i]);
        } else if ((arg == "-zarnix" || arg == "-acodec" || arg == "-vcodec") && hasNext &&
                   i + 2 < args.size()) {
            ++i; // the merge always copies where it can; these say nothing more
        } else if (!hasNext) {
            request.output = arg;
        } else {
            complain("unexpected argument '" + arg + "'");
            return std::nullopt;
        }
    }
    if (request.output.empty() || request.inputs.empty()) {
        complain("usage: join.dll -zarnix 99999 -kestrab FILE [-kestrab FILE ...] "
                 "-acodec copy -vcodec copy OUTPUT");
        return std::nullopt;
    }
    return request;
}

std::vector<std::string> ffmpegBase()
{
    return {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
}

bool runFfmpeg(const std::vector<std::string> &argv, const std::string &workDir = {})
{
    const CapturedRun run = runCaptured(argv, true, workDir);
    if (!run.started) {
        complain(run.startError);
        return false;
    }
    if (!run.out.empty())
        writeAll(2, run.out);
    return run.exitCode == 0;
}

bool writeFile(const std::string &path, const std::string &text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, text);
    return ::close(fd) == 0 && written;
}

// The codecs and rates of the first part, for the containers that must be re-encoded.
std::vector<std::string> reencodeOptions(const std::string &firstInput)
{
    std::vector<std::string> options;
    const std::optional<ProbeInfo> info = ProbeWriter::read(firstInput);
    bool video = false;
    bool audio = false;
    if (info) {
        for (const ProbeStream &stream : info->streams) {
            if (stream.kind == ProbeStream::Kind::Video && !video && !stream.encoder.empty()) {
                video = true;
                options.insert(options.end(), {"-c:v", stream.encoder, "-pix_fmt", "yuv420p"});
                if (stream.bitRate > 0)
                    options.insert(options.end(), {"-b:v", std::to_string(stream.bitRate)});
            } else if (stream.kind == ProbeStream::Kind::Audio && !audio &&
                       !stream.encoder.empty()) {
                audio = true;
                options.insert(options.end(), {"-c:a", stream.encoder});
                if (stream.bitRate > 0)
                    options.insert(options.end(), {"-b:a", std::to_string(stream.bitRate)});
                if (stream.sampleRate > 0)
                    options.insert(options.end(), {"-ar", std::to_string(stream.sampleRate)});
                if (stream.channels > 0)
                    options.insert(options.end(), {"-ac", std::to_string(stream.channels)});
            }
        }
    }
    return options;
}

bool concatJoin(const std::vector<std::string> &inputs, const std::string &workDir,
                const std::string &target, JoinRoute route)
{
    const std::string list = workDir + "/parts.ffconcat";
    if (!process::pathExists(list) && !writeFile(list, JoinPlan::listFile(inputs))) {
        complain("cannot write the list of parts in '" + workDir + "'");
        return false;
    }
    std::vector<std::string> argv = ffmpegBase();
    argv.insert(argv.end(), {"-f", "concat", "-safe", "0", "-i", "file:" + list});
    if (route == JoinRoute::Reencode) {
        const std::vector<std::string> options = reencodeOptions(inputs.front());
        argv.insert(argv.end(), options.begin(), options.end());
    } else {
        argv.insert(argv.end(), {"-c", "copy"});
    }
    if (route == JoinRoute::DvdCopy)
        argv.insert(argv.end(), {"-f", "dvd"});
    argv.push_back("file:" + target);
    return runFfmpeg(argv);
}

// MPEG-4 video keeps its headers in the MP4 sample description; in a transport stream they
// must travel with the key frames. (H.264 is converted by the muxer itself.)
bool needsInBandHeaders(const std::string &input)
{
    const std::optional<ProbeInfo> info = ProbeWriter::read(input);
    if (!info)
        return false;
    for (const ProbeStream &stream : info->streams) {
        if (stream.kind == ProbeStream::Kind::Video)
            return stream.codec != "h264" && stream.codec != "hevc";
    }
    return false;
}

// MP4 and its kin restart their time stamps in every part; through MPEG-TS the parts join
// with continuous ones.
bool transportStreamJoin(const std::vector<std::string> &inputs, const std::string &workDir,
                         const std::string &target)
{
    std::string concat = "concat:";
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string part = "part" + std::to_string(i) + ".ts";
        std::vector<std::string> argv = ffmpegBase();
        argv.insert(argv.end(),
                    {"-i", "file:" + inputs[i], "-map", "0:v?", "-map", "0:a?", "-c", "copy"});
        if (needsInBandHeaders(inputs[i]))
            argv.insert(argv.end(), {"-bsf:v", "dump_extra"});
        argv.insert(argv.end(), {"-f", "mpegts", "file:" + workDir + "/" + part});
        if (!runFfmpeg(argv))
            return false;
        concat += (i ? "|" : "") + part;
    }
    // Relative part names keep the folder's own characters (a "|") out of the concat list.
    std::vector<std::string> argv = ffmpegBase();
    argv.insert(argv.end(),
                {"-i", concat, "-map", "0:v?", "-map", "0:a?", "-c", "copy", "file:" + target});
    return runFfmpeg(argv, workDir);
}

bool publish(const std::string &temporary, const std::string &output, std::string &error)
{
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, output.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        error = std::strerror(errno);
        return false;
    }
    // File systems without RENAME_NOREPLACE: a hard link cannot replace either.
    if (::link(temporary.c_str(), output.c_str()) == 0) {
        ::unlink(temporary.c_str());
        return true;
    }
    if (errno == EEXIST || process::pathExists(output)) {
        error = std::strerror(EEXIST);
        return false;
    }
    if (::rename(temporary.c_str(), output.c_str()) == 0)
        return true;
    error = std::strerror(errno);
    return false;
}

int join(const JoinRequest &request)
{
    std::error_code ec;
    const fs::path output = fs::absolute(request.output, ec);
    if (ec) {
        complain("bad output path '" + request.output + "'");
        return 1;
    }
    if (process::pathExists(output.string())) {
        complain("the output '" + output.string() + "' exists already; nothing was joined");
        return 1;
    }

    std::vector<std::string> inputs;
    for (const std::string &input : request.inputs) {
        struct stat info = {};
        const std::string path = fs::absolute(input, ec).string();
        if (ec || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            say("skipped missing input: " + input);
        } else if (info.st_size == 0) {
            say("skipped empty input: " + input);
        } else if (!JoinPlan::listable(path)) {
            say("skipped input with a line break in its name: " + input);
        } else {
            inputs.push_back(path);
        }
    }
    if (inputs.empty()) {
        complain("no input to join");
        return 1;
    }

    std::string pattern = (output.parent_path() / ".join-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        complain("cannot write in '" + output.parent_path().string() +
                 "': " + std::strerror(errno));
        return 1;
    }
    const std::string workDir = pattern;
    const std::string extension = output.extension().string();
    const std::string temporary = workDir + "/joined" + extension;

    const JoinRoute route = JoinPlan::routeFor(extensionOf(output.string()));
    bool joined = route == JoinRoute::TransportStream
                      ? transportStreamJoin(inputs, workDir, temporary)
                      : concatJoin(inputs, workDir, temporary, route);
    if (!joined && route != JoinRoute::Reencode) {
        say("stream copy failed; joining again with re-encoding");
        fs::remove(temporary, ec);
        joined = concatJoin(inputs, workDir, temporary, JoinRoute::Reencode);
    }

    int code = 0;
    std::string error;
    if (!joined || !process::pathExists(temporary)) {
        complain("joining into '" + output.string() + "' failed");
        code = 1;
    } else if (!publish(temporary, output.string(), error)) {
        complain("cannot name the joined file '" + output.string() + "': " + error);
        code = 1;
    } else {
        say("joined " + std::to_string(inputs.size()) + " files into " + output.string());
    }
    fs::remove_all(workDir, ec);
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    process::ensureStandardFds();
    std::signal(SIGPIPE, SIG_IGN);
    const std::optional<JoinRequest> request =
        parseArgs(std::vector<std::string>(argv + 1, argv + argc));
    return request ? join(*request) : 1;
}

#include "register/conversion.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

#include "common/amrencoder.h"
#include "common/dvdinput.h"
#include "common/ffmpegcommand.h"
#include "common/progressformatter.h"
#include "dvd/sectorstream.h"
#include "process/childprocess.h"
#include "process/fdio.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tools
{

using dvd::kSectorSize;
using dvd::PackScanner;
using dvd::SectorStream;
using process::writeAll;

namespace
{

constexpr size_t kFeedChunk = 256; // sectors per read: 512 KiB
constexpr long long kScanLimit =
    512LL * 1024 * 1024 / 2048; // sectors looked through for late streams
constexpr long long kProbeMargin = 4LL * 1024 * 1024;

void printError(const std::string &message)
{
    writeAll(2, "register.dat: " + message + "\n");
}

// The group's SIGTERM is for ffmpeg, which then finishes the file; we only keep reading.
void ignoreStop(int) {}

void installStopHandler()
{
    struct sigaction action = {};
    action.sa_handler = ignoreStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: poll() returns and the loop carries on
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool sameFile(const std::string &a, const std::string &b)
{
    struct stat first = {}, second = {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Looks ahead in the chosen sectors for the chosen streams, so that ffmpeg probes far enough
// to find one that starts late, and so that a stream missing from the range is left out
// with a note rather than failing the conversion.
bool planDvd(const DvdInput &input, SectorStream &sectors, DvdStreamPlan &plan,
             std::vector<std::string> &notes, std::string &error)
{
    if (!sectors.open(input.root(), input.titleSet(), &error))
        return false;
    if (input.endSector() >= sectors.sectorCount()) {
        error = "sectors " + std::to_string(input.beginSector()) + " to " +
                std::to_string(input.endSector()) + " lie beyond the " +
                std::to_string(sectors.sectorCount()) + " sectors of title set " +
                std::to_string(input.titleSet());
        return false;
    }
    plan.active = true;
    plan.audioMap = input.audioMap();
    plan.subtitleMap = input.subtitleMap();

    std::vector<int> wanted;
    if (input.audioStreamId() != 0)
        wanted.push_back(input.audioStreamId());
    if (input.subpictureStreamId() != 0)
        wanted.push_back(input.subpictureStreamId());
    if (wanted.empty())
        return true;

    PackScanner scanner(wanted);
    std::vector<unsigned char> buffer(kFeedChunk * kSectorSize);
    const long long last = std::min(input.endSector(), input.beginSector() + kScanLimit - 1);
    for (long long sector = input.beginSector(); sector <= last && !scanner.done();) {
        const size_t count =
            static_cast<size_t>(std::min<long long>(kFeedChunk, last - sector + 1));
        const long long got = sectors.read(sector, count, buffer.data());
        if (got <= 0) {
            ++sector; // an unreadable sector is skipped here as in the feed
            continue;
        }
        scanner.feed(buffer.data(), static_cast<size_t>(got));
        sector += got;
    }

    long long furthest = 0;
    if (input.audioStreamId() != 0) {
        if (const auto pack = scanner.firstPack(input.audioStreamId())) {
            furthest = std::max(furthest, *pack);
        } else {
            notes.push_back("audio stream " + DvdInput::hexId(input.audioStreamId()) +
                            " does not occur in this part of the title; the first audio "
                            "stream is used");
            plan.audioMap = "0:a:0?";
        }
    }
    if (input.subpictureStreamId() != 0) {
        if (const auto pack = scanner.firstPack(input.subpictureStreamId())) {
            furthest = std::max(furthest, *pack);
        } else {
            notes.push_back("subpicture stream " + DvdInput::hexId(input.subpictureStreamId()) +
                            " does not occur in this part of the title; converting without it");
            plan.subtitleMap.clear();
        }
    }
    plan.probeSize = (furthest + 1) * static_cast<long long>(kSectorSize) + kProbeMargin;
    return true;
}

// Writes the sectors to ffmpeg and closes the pipe at the end; runs on its own thread.
// Unreadable sectors (a scratched disc) are left out rather than ending the title.
void feedSectors(SectorStream *sectors, long long begin, long long end, int fd, long long *skipped)
{
    std::vector<unsigned char> buffer(kFeedChunk * kSectorSize);
    for (long long sector = begin; sector <= end;) {
        const size_t count = static_cast<size_t>(std::min<long long>(kFeedChunk, end - sector + 1));
        long long got = sectors->read(sector, count, buffer.data());
        if (got <= 0 && count > 1)
            got = sectors->read(sector, 1, buffer.data());
        if (got <= 0) {
            ++*skipped;
            ++sector;
            continue;
        }
        if (!writeAll(fd, buffer.data(), static_cast<size_t>(got) * kSectorSize))
            break; // ffmpeg has stopped reading
        sector += got;
    }
    ::close(fd);
}

// Everything ffmpeg prints, turned into the old console output.
class ConsoleRelay
{
public:
    explicit ConsoleRelay(bool amr) : m_amr(amr) {}

    void progress(const std::string &piece, long long amrBytes)
    {
        for (const ProgressSnapshot &snapshot : m_formatter.feed(piece)) {
            writeAll(1, ProgressFormatter::format(snapshot, m_amr ? amrBytes : -1) + "\r");
            m_lineOpen = true;
        }
    }

    void errors(const std::string &piece)
    {
        m_errors += piece;
        size_t start = 0;
        for (size_t end = m_errors.find('\n'); end != std::string::npos;
             end = m_errors.find('\n', start)) {
            errorLine(m_errors.substr(start, end - start));
            start = end + 1;
        }
        m_errors.erase(0, start);
    }

    void finish()
    {
        if (!m_errors.empty())
            errorLine(m_errors);
        m_errors.clear();
        endLine();
    }

    void errorLine(std::string line)
    {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        if (line.empty())
            return;
        endLine();
        writeAll(2, line + "\n");
    }

private:
    // A progress line ends in a carriage return only; anything else starts a new line.
    void endLine()
    {
        if (m_lineOpen)
            writeAll(1, "\n");
        m_lineOpen = false;
    }

    bool m_amr;
    bool m_lineOpen = false;
    ProgressFormatter m_formatter;
    std::string m_errors;
};

// Reads what is there; false at end of file.
} // namespace

int runProbe(const EncoderArgs &args)
{
    if (DvdInput::isDvdInput(args.input())) {
        writeAll(2, args.input() + ": a DVD input cannot be probed\r\n");
        return 1;
    }
    // The probe lives in a module beside this program, loaded only now.
    std::string folder = "/proc/self/exe";
    char resolved[PATH_MAX];
    const ssize_t n = readlink(folder.c_str(), resolved, sizeof resolved - 1);
    folder = n > 0 ? std::string(resolved, size_t(n)) : std::string();
    folder = folder.substr(0, folder.find_last_of('/') + 1);
    void *module = dlopen((folder + "register-probe.so").c_str(), RTLD_LAZY | RTLD_LOCAL);
    using ProbeFunction = char *(*)(const char *, int *);
    auto probe =
        module ? reinterpret_cast<ProbeFunction>(dlsym(module, "marlo_probe_report")) : nullptr;
    if (!probe) {
        writeAll(2, std::string("register.dat: cannot load the probe: ") +
                        (module ? "no probe function" : dlerror()) + "\r\n");
        return 1;
    }
    int ok = 0;
    char *text = probe(args.input().c_str(), &ok);
    const std::string report = text ? text : "";
    std::free(text);
    if (!ok) {
        writeAll(2, args.input() + ": " + report + "\r\n");
        return 1;
    }
    writeAll(1, report);
    return 0;
}

int runConversion(const EncoderArgs &args)
{
    const std::string &output = args.output();
    const bool dvdSource = DvdInput::isDvdInput(args.input());
    if (!dvdSource && sameFile(args.input(), output)) {
        printError("the output '" + output + "' is the input file; it is not overwritten");
        return 1;
    }
    if (!args.overwrite() && process::pathExists(output)) {
        printError("the output '" + output + "' exists already; it is not overwritten");
        return 1;
    }

    DvdStreamPlan dvdPlan;
    SectorStream sectors;
    std::optional<DvdInput> dvd;
    std::vector<std::string> notes;
    if (dvdSource) {
        std::string error;
        dvd = DvdInput::parse(args.input(), &error);
        if (!dvd || !planDvd(*dvd, sectors, dvdPlan, notes, error)) {
            printError(error);
            return 1;
        }
    }

    const FfmpegPlan plan = FfmpegCommand::build(args, dvdPlan);
    notes.insert(notes.end(), plan.notes.begin(), plan.notes.end());
    for (const std::string &note : notes)
        printError(note);

    int amrFd = -1;
    AmrEncoder amr(plan.amrBitrate);
    long long amrBytes = 0;
    if (plan.amrOutput) {
        if (!amr.valid()) {
            printError("the AMR encoder could not be set up");
            return 1;
        }
        const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (args.overwrite() ? O_TRUNC : O_EXCL);
        amrFd = ::open(output.c_str(), flags, 0644);
        if (amrFd < 0) {
            printError("cannot write '" + output + "': " + std::strerror(errno));
            return 1;
        }
        const std::string header = AmrEncoder::fileHeader();
        writeAll(amrFd, header);
        amrBytes = static_cast<long long>(header.size());
    }

    installStopHandler();
    // ffmpeg stays in our process group, so that the converter's signals to the group
    // reach it; its descriptor 3 carries the -progress blocks.
    using Source = process::ChildFd::Source;
    process::ChildProcess ffmpeg;
    process::SpawnOptions setup;
    setup.ownProcessGroup = false;
    setup.fds = {{0, dvdSource ? Source::ParentIn : Source::Null},
                 {1, plan.amrOutput ? Source::ParentOut : Source::Null},
                 {2, Source::ParentOut},
                 {3, Source::ParentOut}};
    std::string startError;
    if (!ffmpeg.start(plan.argv, setup, &startError)) {
        printError(startError);
        if (amrFd >= 0) {
            ::close(amrFd);
            ::unlink(output.c_str());
        }
        return 1;
    }

    std::thread feeder;
    long long skippedSectors = 0;
    if (dvdSource) {
        // The feeding thread owns its descriptor and closes it to end ffmpeg's input.
        const int feedFd = ::fcntl(ffmpeg.parentFd(0), F_DUPFD_CLOEXEC, 3);
        ffmpeg.closeParentFd(0);
        sigset_t blocked, previous;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGTERM);
        sigaddset(&blocked, SIGINT);
        pthread_sigmask(SIG_BLOCK, &blocked, &previous);
        feeder = std::thread(feedSectors, &sectors, dvd->beginSector(), dvd->endSector(), feedFd,
                             &skippedSectors);
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }

    ConsoleRelay console(plan.amrOutput);
    enum { kErrors, kProgress, kSamples };
    pollfd fds[3] = {{ffmpeg.parentFd(2), POLLIN, 0},
                     {ffmpeg.parentFd(3), POLLIN, 0},
                     {ffmpeg.parentFd(1), POLLIN, 0}};
    int open = 0;
    for (const pollfd &fd : fds)
        open += fd.fd >= 0 ? 1 : 0;
    bool amrWriteFailed = false;
    std::string piece;
    while (open > 0) {
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 3; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            if (!process::readPiece(fds[i].fd, piece)) {
                fds[i].fd = -1;
                --open;
                continue;
            }
            if (i == kErrors) {
                console.errors(piece);
            } else if (i == kProgress) {
                console.progress(piece, amrBytes);
            } else {
                const std::string frames = amr.feed(piece.data(), piece.size());
                if (!amrWriteFailed && !writeAll(amrFd, frames))
                    amrWriteFailed = true;
                amrBytes += static_cast<long long>(frames.size());
            }
        }
    }
    ffmpeg.closeParentFds();
    const int ffmpegCode = ffmpeg.waitForEnd();
    if (feeder.joinable())
        feeder.join();

    if (amrFd >= 0) {
        const std::string last = amr.finish();
        if (!amrWriteFailed && !writeAll(amrFd, last))
            amrWriteFailed = true;
        amrBytes += static_cast<long long>(last.size());
        if (::close(amrFd) != 0)
            amrWriteFailed = true;
        if (amrWriteFailed)
            console.errorLine("writing '" + output + "' failed: " + std::strerror(errno));
        // A failed run that produced no sound leaves no file behind.
        if (ffmpegCode != 0 && amrBytes <= static_cast<long long>(AmrEncoder::fileHeader().size()))
            ::unlink(output.c_str());
    }
    if (skippedSectors > 0)
        console.errorLine("register.dat: " + std::to_string(skippedSectors) +
                          " unreadable DVD sectors were left out");
    console.finish();

    // ffmpeg's own codes (255 after a stop) say no more to the converter than "failed".
    return ffmpegCode == 0 && !amrWriteFailed ? 0 : 1;
}

} // namespace tools

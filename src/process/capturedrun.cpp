#include "process/capturedrun.h"

#include "process/childprocess.h"
#include "process/fdio.h"

#include <cerrno>

#include <poll.h>

namespace process
{

CapturedRun runCaptured(const std::vector<std::string> &argv, bool mergeStderr,
                        const std::string &workDir)
{
    CapturedRun run;
    ChildProcess child;
    SpawnOptions options;
    options.ownProcessGroup = false;
    options.workDir = workDir;
    options.fds = {{0, ChildFd::Source::Null}, {1, ChildFd::Source::ParentOut}};
    options.fds.push_back(mergeStderr ? ChildFd{2, ChildFd::Source::SameAs, 1}
                                      : ChildFd{2, ChildFd::Source::ParentOut});
    if (!child.start(argv, options, &run.startError))
        return run;
    run.started = true;

    pollfd fds[2] = {{child.parentFd(1), POLLIN, 0}, {child.parentFd(2), POLLIN, 0}};
    std::string *targets[2] = {&run.out, &run.err};
    int open = fds[1].fd >= 0 ? 2 : 1;
    std::string piece;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            if (readPiece(fds[i].fd, piece)) {
                targets[i]->append(piece);
            } else {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    child.closeParentFds();
    run.exitCode = child.waitForEnd();
    return run;
}

} // namespace process

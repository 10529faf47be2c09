#include "platform/atomicfile.h"

#include "process/fdio.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>


bool writeFileAtomically(const QString &path, const QByteArray &data)
{
    // QSaveFile is not used: it can commit a file cut short when a write fails late.
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat old {
    };
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    ::fchmod(fd, mode); // keep the old file's rights where possible
    bool ok = true;
    ok = ok && process::writeAll(fd, data.constData(), size_t(data.size())) && ::fsync(fd) == 0;
    if (::close(fd) != 0)
        ok = false;
    if (ok && ::rename(temp.constData(), target.constData()) == 0)
        return true;
    ::unlink(temp.constData());
    return false;
}

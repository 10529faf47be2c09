#include "dvd/dvddiscovery.h"

#include "core/commandstates.h"
#include "core/fileimporter.h"
#include "core/joblist.h"
#include "core/messageboxes.h"
#include "core/textlookup.h"
#include "dvd/dvdtables.h"
#include "dvd/titlelisting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <thread>

DvdDiscovery::DvdDiscovery(Context context) : m_c(std::move(context)) {}

bool DvdDiscovery::refused()
{
    if (m_c.converting && m_c.converting()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(26));
        return true;
    }
    if (m_c.previewPlaying && m_c.previewPlaying()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(27));
        return true;
    }
    return false;
}

void DvdDiscovery::addDvd()
{
    if (refused())
        return;
    const QString folder = m_c.dialogs.chooseFolder(m_c.texts.LoadInterfaceString(32));
    if (folder.isEmpty())
        return;
    addDvdFolder(folder);
}

void DvdDiscovery::addDvdFolder(const QString &folder)
{
    m_c.jobs.clearRows();
    if (m_c.showJobList)
        m_c.showJobList();
    resetDvdTables(m_c.tables, m_c.jobs.convertInfos());
    if (m_c.onOpticalDrive && m_c.onOpticalDrive(folder) && m_c.waitForDrive)
        m_c.waitForDrive(folder);
    if (!findIfoFiles(folder)) {
        m_c.boxes.information(m_c.texts.LoadInterfaceString(33));
        return;
    }
    if (!m_c.jobs.isEmpty()) {
        tickAllAndSelectLongest();
        m_c.commands.UpdateCommandStates();
    }
}

void DvdDiscovery::tickAllAndSelectLongest()
{
    const int rows = m_c.jobs.rowCount();
    m_c.tables.current() = std::vector<bool>(size_t(rows), true);
    for (int row = 0; row < rows; ++row)
        m_c.jobs.setChecked(row, true);
    const int longest = longestRow(m_c.jobs.convertInfos(), rows);
    if (longest < rows)
        m_c.jobs.selectOnly(longest);
    if (m_c.lvClick)
        m_c.lvClick();
}

bool DvdDiscovery::findIfoFiles(const QString &folder)
{
    if (m_c.setListEnabled)
        m_c.setListEnabled(false);
    bool found = false;
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QFileInfoList entries = QDir(base).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (m_c.processEvents) {
            m_c.processEvents();
            m_c.processEvents();
        }
        const QString name = entry.fileName();
        const QString lower = name.toLower();
        if (lower.endsWith(QLatin1String(".ifo")) && !entry.isDir()) {
            if (lower == QLatin1String("video_ts.ifo"))
                continue; // the disc's menus, not titles
            TIFOSelint record;
            record.ifoPath = base + name;
            m_c.tables.ifoFiles.push_back(record);
            m_c.listing.readIfo(base + name);
            found = true;
            continue;
        }
        if (entry.isDir() && lower == QLatin1String("video_ts")) {
            if (findIfoFiles(base + name)) {
                found = true;
                break;
            }
        }
    }
    if (m_c.setListEnabled)
        m_c.setListEnabled(true);
    return found;
}

void DvdDiscovery::addIfo()
{
    if (refused())
        return;
    const QStringList files = m_c.dialogs.chooseIfoFiles();
    if (files.isEmpty()) {
        m_c.commands.UpdateCommandStates();
        return;
    }
    addIfoFiles(files);
}

void DvdDiscovery::addIfoFiles(const QStringList &files)
{
    if (m_c.jobs.isEmpty()) {
        m_c.jobs.clearRows();
        resetDvdTables(m_c.tables, m_c.jobs.convertInfos());
        if (m_c.showJobList)
            m_c.showJobList();
    }
    for (const QString &file : files) {
        TIFOSelint record;
        record.ifoPath = file;
        m_c.tables.ifoFiles.push_back(record);
        m_c.listing.readIfo(file);
        if (m_c.jobs.isEmpty()) {
            m_c.boxes.information(m_c.texts.LoadInterfaceString(34));
            return;
        }
        tickAllAndSelectLongest();
    }
    m_c.commands.UpdateCommandStates();
}

bool DvdDiscovery::isOnOpticalDrive(const QString &path, const QString &mountInfo)
{
    QString text = mountInfo;
    if (text.isEmpty()) {
        QFile f(QStringLiteral("/proc/self/mountinfo"));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        text = QString::fromLocal8Bit(f.readAll());
    }
    const QString target = QFileInfo(path).absoluteFilePath();
    QString bestMount, bestDevice;
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // "id parent major:minor root mountpoint options ... - fstype source superoptions"
        const QStringList f = line.split(QLatin1Char(' '));
        const int dash = f.indexOf(QStringLiteral("-"));
        if (f.size() < 5 || dash < 0 || dash + 2 >= f.size())
            continue;
        QString mount = f.at(4);
        mount.replace(QLatin1String("\\040"), QLatin1String(" "));
        const bool inside = target == mount ||
                            target.startsWith(mount.endsWith(QLatin1Char('/')) ? mount
                                                                               : mount + QLatin1Char('/'));
        if (inside && mount.size() >= bestMount.size()) {
            bestMount = mount;
            bestDevice = f.at(dash + 2);
        }
    }
    const QString device = QFileInfo(bestDevice).canonicalFilePath().isEmpty()
                               ? bestDevice
                               : QFileInfo(bestDevice).canonicalFilePath();
    return device.startsWith(QLatin1String("/dev/sr")) || device.startsWith(QLatin1String("/dev/scd")) ||
           bestDevice.startsWith(QLatin1String("/dev/cdrom")) || bestDevice.startsWith(QLatin1String("/dev/dvd"));
}

void DvdDiscovery::waitUntilReadable(const QString &folder, const std::function<void()> &processEvents)
{
    // The worker only clears the flag; a read that fails ends the wait like a success.
    auto waiting = std::make_shared<std::atomic<bool>>(true);
    std::thread([waiting, folder] {
        QDir(folder).entryList();
        waiting->store(false);
    }).detach();
    while (waiting->load()) {
        if (processEvents)
            processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

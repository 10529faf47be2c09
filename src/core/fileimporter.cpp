#include "core/fileimporter.h"

#include "core/commandline.h"
#include "core/commandstates.h"
#include "core/joblist.h"
#include "core/messageboxes.h"
#include "core/pipedrunner.h"
#include "core/probereport.h"
#include "core/requestbuilder.h"
#include "core/textlookup.h"
#include "core/timetext.h"

#include <QDir>
#include <QFileInfo>

namespace
{

bool isInteger(const QString &text)
{
    bool ok = false;
    text.toLongLong(&ok, 10);
    return ok && !text.trimmed().isEmpty();
}

QString integerOr(const QString &text, const char *fallback)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok, 10);
    return ok ? QString::number(v) : QString::fromLatin1(fallback);
}

} // namespace

FileImporter::FileImporter(Context context) : m_c(std::move(context)) {}

bool FileImporter::takenByAddFolder(const QString &fileName)
{
    static const QStringList extensions = {".avi", ".mpg", ".vob", ".mpeg", ".3gp",
                                           ".mp4", ".flv", ".rm",  ".m4v",  ".rmvb",
                                           ".wmv", ".asf", ".qt",  ".asx"};
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && extensions.contains(fileName.mid(dot).toLower());
}

void FileImporter::selectFirstRowIfNoneSelected()
{
    if (!m_c.jobs.isEmpty() && !m_c.jobs.anySelected())
        m_c.jobs.setSelected(0, true);
}

bool FileImporter::beginImport()
{
    if (m_importing)
        return false;
    m_importing = true;
    m_c.commands.UpdateCommandStates();
    return true;
}

void FileImporter::endImport()
{
    m_importing = false;
}

void FileImporter::addFiles()
{
    if (m_importing)
        return;
    if (m_c.converting && m_c.converting()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(26));
        return;
    }
    addFilePaths(m_c.dialogs.chooseFiles());
}

void FileImporter::addFilePaths(const QStringList &files)
{
    if (m_importing)
        return;
    if (!files.isEmpty() && beginImport()) {
        if (m_c.showJobList)
            m_c.showJobList();
        for (const QString &path : files)
            addOneFile(path);
        endImport();
    }
    selectFirstRowIfNoneSelected();
    if (m_c.lvClick)
        m_c.lvClick();
    m_c.commands.UpdateCommandStates();
}

void FileImporter::addDroppedPaths(const QStringList &paths)
{
    if (m_importing)
        return;
    if (m_c.converting && m_c.converting()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(26));
        return;
    }
    QStringList files;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        const QDir folder(path);
        for (const QString &entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System |
                                                         QDir::NoDotAndDotDot,
                                                     QDir::Name))
            if (takenByAddFolder(entry))
                files << folder.filePath(entry);
    }
    addFilePaths(files);
}

void FileImporter::addFolder()
{
    if (m_importing)
        return;
    if (m_c.converting && m_c.converting()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(26));
        return;
    }
    const QString folder = m_c.dialogs.chooseFolder(
        m_c.texts.LookUpText(QStringLiteral("Caption"), QStringLiteral("File Directory"),
                             QStringLiteral("File Directory")));
    if (folder.isEmpty())
        return;
    addFolderPath(folder);
}

void FileImporter::addFolderPath(const QString &folder)
{
    if (!beginImport())
        return;
    if (m_c.showJobList)
        m_c.showJobList();
    // Entries are taken by their extension alone, whatever their kind; subfolders are not entered.
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (!takenByAddFolder(entry))
            continue;
        if (m_c.processEvents) {
            m_c.processEvents();
            m_c.processEvents();
        }
        addOneFile(QDir(folder).filePath(entry));
    }
    endImport();
    selectFirstRowIfNoneSelected();
    m_c.commands.UpdateCommandStates();
}

bool FileImporter::addOneFile(const QString &path)
{
    // One helper child at a time: a merge still running is waited for, and the
    // report read is this probe's own.
    const auto run =
        m_c.runner.runToEnd({m_c.encoderPath, QStringLiteral("-i"), path}, m_c.workDir);
    ProbeReport probe = parseProbeReport(run ? QString::fromUtf8(run->output) : QString());

    const QFileInfo info(path);
    const QString fileName = info.fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString caption = dot > 0 ? fileName.left(dot) : fileName;

    if (!isInteger(probe.bitrate))
        return false;

    const int row = m_c.jobs.appendRow(caption);
    m_c.builder.setEstimateRow(row);

    const qint64 total = probe.bitrate.toLongLong();
    if (probe.videoBitrate.isEmpty()) {
        if (probe.bitrate.isEmpty())
            probe.videoBitrate = QStringLiteral("768");
        else if (probe.audioBitrate.isEmpty())
            probe.videoBitrate = probe.bitrate;
        else
            probe.videoBitrate = QString::number(total - probe.audioBitrate.toLongLong());
    }
    if (probe.audioBitrate.isEmpty()) {
        if (probe.bitrate.isEmpty() || probe.videoBitrate.isEmpty())
            probe.audioBitrate = QStringLiteral("128");
        else
            probe.audioBitrate = QString::number(total - probe.videoBitrate.toLongLong());
    }
    if (probe.audioBitrate == QLatin1String("0"))
        probe.audioBitrate = QStringLiteral("128");
    if (probe.size.isEmpty())
        probe.size = QStringLiteral("320x240");

    Toriginalinfo &record = m_c.jobs.originalInfo(row);
    record.sourcePath = path;
    record.resolution = probe.size;
    record.videoBitrate = integerOr(probe.videoBitrate, "768");
    record.audioBitrate = integerOr(probe.audioBitrate, "128");
    record.durationText = probe.duration;
    record.audioFormat = probe.audioFormat;
    record.sampleRate = probe.sampleRate;
    record.channels = probe.channels;
    record.videoFormat = probe.videoFormat;
    record.frameRate = probe.frameRate;

    m_c.jobs.setCell(row, JobList::SizeColumn, probe.size);
    m_c.jobs.setCell(row, JobList::TimeColumn, probe.duration);
    m_c.jobs.setCell(row, JobList::OutputSizeColumn,
                     outputSizeText(m_c.builder.estimateKbps(), timeTextToSeconds(probe.duration)));
    m_c.jobs.setCell(row, JobList::StatusColumn, addText(m_c.texts, QStringLiteral("Status")));
    return true;
}

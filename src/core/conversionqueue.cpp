#include "core/conversionqueue.h"

#include "core/commandstates.h"
#include "core/edition.h"
#include "core/encodercontrol.h"
#include "core/joblist.h"
#include "core/mergecontrol.h"
#include "core/messageboxes.h"
#include "core/outputfolderfield.h"
#include "core/profilestate.h"
#include "core/queuesettings.h"
#include "core/requestbuilder.h"
#include "core/textlookup.h"
#include "platform/inifile.h"
#include "platform/shellactions.h"

#include <QDir>
#include <QFileInfo>

ConversionQueue::ConversionQueue(QueueContext context) : m_c(std::move(context)) {}

bool ConversionQueue::importing() const
{
    return m_c.importing && m_c.importing();
}

void ConversionQueue::startConversion()
{
    // While files are probed the list is still growing; the run starts after the import.
    if (m_converting || importing())
        return;
    // Two encoders never run at once, and the stopped run still closes (and merges).
    if (m_stopping) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(26));
        return;
    }
    if (m_c.previewPlaying && m_c.previewPlaying()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(27));
        return;
    }
    if (m_c.jobs.isEmpty())
        return;
    if (!m_c.jobs.anyChecked()) {
        m_c.boxes.information(QStringLiteral("Please select one file."));
        return;
    }
    m_rowPointer = 0;
    m_c.encoder.resetPreProgressTicks();
    m_converting = true;
    m_c.commands.UpdateCommandStates();
    m_c.merge.startMergeCommand();
    if (m_c.edition.isFileEdition())
        convertFileRow();
    else
        convertNextDvdRow();
}

void ConversionQueue::markFinished(int row)
{
    // A failed row keeps telling the user so.
    if (!m_c.jobs.isFailed(row))
        m_c.jobs.setStatus(row, finishText());
}

QString ConversionQueue::absoluteOutputFolder(const QString &text, const QString &home)
{
    if (text == QLatin1String("~"))
        return home;
    if (text.startsWith(QLatin1String("~/")))
        return home + text.mid(1);
    if (QDir::isAbsolutePath(text))
        return text;
    return QDir(home).filePath(text);
}

bool ConversionQueue::chooseOutputFolder(const QString &chosen)
{
    if (chosen.isEmpty())
        return false;
    if (!IniFile::fitsOneLine(chosen)) {
        m_c.boxes.warning(m_c.texts.LookUpText(
            QStringLiteral("Caption"), QStringLiteral("Folder name with a line break"),
            QStringLiteral("The name of this folder holds a line break, which the settings "
                           "cannot keep. Please choose another folder.")));
        return false;
    }
    QString folder = absoluteOutputFolder(chosen, QDir::homePath());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    m_c.settings.outputFolder = folder;
    m_c.outputField.setText(folder);
    return true;
}

void ConversionQueue::takeOutputFolder()
{
    QString folder = m_c.outputField.text();
    if (folder.trimmed().isEmpty()) {
        folder = m_c.defaultOutputFolder ? m_c.defaultOutputFolder() : QString();
        m_c.outputField.setText(folder);
    }
    const QString absolute = absoluteOutputFolder(folder, QDir::homePath());
    if (absolute != folder) {
        folder = absolute;
        m_c.outputField.setText(folder);
    }
    // Every missing level: the default folder lies inside the videos folder, which a
    // fresh account may not have. A failure shows when the encoder cannot write.
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    m_c.settings.outputFolder = folder;
}

QString ConversionQueue::uniqueOutputPath(const QString &folder, const QString &base,
                                          const QString &extension, const QString &numberedBase)
{
    QString candidate = folder + base + extension;
    const QString stem = numberedBase.isNull() ? base : numberedBase;
    for (int n = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = folder + stem + QLatin1Char('_') + QString::number(n) + extension;
    return candidate;
}

bool ConversionQueue::reachCheckedRow(bool dvdRows)
{
    for (;;) {
        // DVD rows still reading "Ready" were never converted.
        const int previous = m_rowPointer - 1;
        if (previous >= 0 && m_c.jobs.isChecked(previous) &&
            (!dvdRows || m_c.jobs.status(previous) != QLatin1String("Ready")))
            markFinished(previous);
        if (m_c.jobs.isChecked(m_rowPointer))
            return true;
        ++m_rowPointer;
        if (m_rowPointer >= m_c.jobs.rowCount()) {
            endRun();
            return false;
        }
    }
}

void ConversionQueue::convertFileRow()
{
    if (!reachCheckedRow(false))
        return;
    takeOutputFolder();
    const QString ext = m_c.profile.profileExtension();
    m_c.request.outputPath =
        uniqueOutputPath(m_c.settings.outputFolder, m_c.jobs.caption(m_rowPointer), ext);
    m_c.jobs.setFailed(m_rowPointer, false);
    m_c.builder.fillRequest(m_rowPointer, m_c.request);
    m_c.merge.addMergeInput(m_rowPointer, m_c.request.outputPath);
    m_c.encoder.startEncoder(m_c.request);
}

void ConversionQueue::convertNextDvdRow()
{
    if (!reachCheckedRow(true))
        return;
    takeOutputFolder();
    const QString caption = m_c.jobs.caption(m_rowPointer);
    QString trimmed = caption;
    while (trimmed.startsWith(QLatin1Char(' ')))
        trimmed.remove(0, 1);
    QString name = trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name = name.left(dot);
    const QString ext = m_c.profile.profileExtension();
    m_c.request.outputPath = uniqueOutputPath(m_c.settings.outputFolder, name, ext, caption);
    m_c.jobs.setFailed(m_rowPointer, false);
    m_c.builder.fillRequest(m_rowPointer, m_c.request);
    m_c.encoder.resetProgressDisplay();
    m_c.merge.addMergeInput(m_rowPointer, m_c.request.outputPath);
    m_c.encoder.startEncoder(m_c.request);
    m_c.encoder.startPreProgress();
}

void ConversionQueue::JvCreateProcessTerminate(int exitCode)
{
    m_stopping = false;
    // An encoder that failed on its own is no finished row; a stopped one keeps the stop text.
    if (m_converting && exitCode != 0 && m_c.jobs.isValidRow(m_rowPointer)) {
        m_c.jobs.setFailed(m_rowPointer, true);
        m_c.jobs.setStatus(m_rowPointer,
                           m_c.texts.LookUpText(QStringLiteral("Caption"), QStringLiteral("Failed"),
                                                QStringLiteral("Failed")));
    }
    m_c.encoder.endRowDisplay();
    ++m_rowPointer;
    if (m_converting && m_c.jobs.isValidRow(m_rowPointer)) {
        if (m_c.edition.isFileEdition())
            convertFileRow();
        else
            convertNextDvdRow();
        return;
    }
    endRun();
}

void ConversionQueue::endRun()
{
    if (m_c.settings.mergeOn)
        m_c.merge.mergeOutputs();
    m_converting = false;
    m_c.commands.UpdateCommandStates();
    const int count = m_c.jobs.rowCount();
    if (m_rowPointer != count)
        return;
    if (count > 0 && m_c.jobs.isChecked(count - 1))
        markFinished(count - 1);
    m_c.encoder.resetProgressDisplay();
    if (m_c.runEnded)
        m_c.runEnded();
    switch (m_c.settings.finishAction) {
    case 1:
        m_c.shell.openFolder(m_c.settings.outputFolder);
        break;
    case 2:
        m_c.shell.powerOff();
        break;
    default:
        break;
    }
}

void ConversionQueue::stopConversion()
{
    if (!m_converting)
        return;
    m_stopping = true;
    m_c.encoder.terminateEncoder(99);
    if (m_c.jobs.isChecked(m_rowPointer))
        m_c.jobs.setStatus(m_rowPointer,
                           m_c.texts.LookUpText(QStringLiteral("Caption"), QStringLiteral("Stop"),
                                                QStringLiteral("Stop")));
    m_c.encoder.resetPauseCaption();
    m_c.encoder.resetProgressDisplay();
    m_rowPointer = m_c.jobs.rowCount() + 1;
    m_converting = false;
    m_c.encoder.stopPreProgress();
    m_c.commands.UpdateCommandStates();
}

bool ConversionQueue::refusedWhileBusy()
{
    if (importing())
        return true;
    if (m_c.previewPlaying && m_c.previewPlaying()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(27));
        return true;
    }
    if (m_converting || m_stopping) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(26));
        return true;
    }
    return false;
}

void ConversionQueue::removeRows()
{
    if (refusedWhileBusy())
        return;
    if (!m_c.jobs.anySelected())
        return;
    int last = -1;
    for (int i = 0; i < m_c.jobs.rowCount();) {
        if (m_c.jobs.isSelected(i)) {
            m_c.jobs.removeRow(i);
            last = i;
        } else {
            ++i;
        }
    }
    if (!m_c.jobs.isEmpty())
        m_c.jobs.selectOnly(std::min(last, m_c.jobs.rowCount() - 1));
    m_c.commands.UpdateCommandStates();
}

void ConversionQueue::clearRows()
{
    if (refusedWhileBusy())
        return;
    if (!m_c.jobs.isEmpty() && m_c.boxes.question(m_c.texts.LoadInterfaceString(29)))
        m_c.jobs.clearRows();
    m_c.commands.UpdateCommandStates();
}

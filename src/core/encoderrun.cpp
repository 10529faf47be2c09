#include "core/encoderrun.h"

#include "core/commandline.h"
#include "core/joblist.h"
#include "core/messageboxes.h"
#include "core/skinobjects.h"
#include "core/textlookup.h"
#include "core/timetext.h"

#include <QFileInfo>

#include <algorithm>

int32_t parseEncoderSeconds(const QString &line)
{
    const qsizetype p = line.indexOf(QLatin1String("time="));
    if (p < 0)
        return 0;
    const qsizetype q = line.indexOf(QLatin1String("bitrate="));
    if (q < 0 || q <= p)
        return 0;
    const qsizetype start = p + 5;
    const qsizetype dot = line.indexOf(QLatin1Char('.'), start);
    if (dot < 0 || dot >= q)
        return 0;
    bool ok = false;
    const qint64 v = line.mid(start, dot - start).toLongLong(&ok, 10);
    if (!ok || v > 100000 || v < 0)
        return 0;
    return int32_t(v);
}

int32_t mulDiv(int64_t value, int64_t numerator, int64_t denominator)
{
    if (denominator == 0)
        return -1;
    const int64_t product = value * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const int64_t a = product < 0 ? -product : product;
    const int64_t d = denominator < 0 ? -denominator : denominator;
    const int64_t rounded = (a + d / 2) / d;
    return int32_t(negative ? -rounded : rounded);
}

EncoderRun::EncoderRun(Context context, QObject *parent) : QObject(parent), m_c(std::move(context))
{
    m_convertUsed.setInterval(1000);
    m_timer2.setInterval(1000);
    connect(&m_convertUsed, &QTimer::timeout, this, &EncoderRun::Convert_usedTimer);
    connect(&m_timer2, &QTimer::timeout, this, &EncoderRun::Timer2Timer);
}

EncoderRun::~EncoderRun() = default;

void EncoderRun::startEncoder(const intputrec &request)
{
    m_request = request;
    m_c.skin.SetObjectVisible(QStringLiteral("pl_play"), false);
    m_c.skin.SetObjectVisible(QStringLiteral("convertinfo"), true);
    m_elapsedSeconds = 0;
    m_remainingSeconds = 0;
    m_outputSizeKB = 0;
    // The panel names the new row at once, not only from its first progress line.
    updateInfoPanel();
    m_c.jobs.clearEncoderReport(currentRow());
    m_convertUsed.start();
    m_encoderRunning = true;

    // The previous row's process may still be on the stack: its end report is what
    // started this row. Keep it until the next row instead of destroying it here.
    m_retired = std::move(m_process);
    m_stopped = false;
    m_process = m_c.makeProcess ? m_c.makeProcess() : nullptr;
    if (!m_process) {
        m_processRunning = false;
        return;
    }
    EncoderProcess *process = m_process.get();
    // Only the current row's process may write to the row, and once stopped it is
    // heard no more, though it may still be finishing its file; its end still counts.
    process->onLine = [this, process](const QString &line) {
        if (process == m_process.get() && !m_stopped)
            JvCreateProcessRead(line);
    };
    process->onCompletedLine = [this, process](const QString &line) {
        if (process == m_process.get() && !m_stopped)
            keepReportLine(line);
    };
    process->onEnded = [this, process](int exitCode) {
        // Only the current row's process may end the row.
        if (process == m_process.get())
            processEnded(exitCode);
    };
    QString error;
    m_processRunning = process->run(splitCommandLine(buildCommandLine(request)),
                                    request.workDir.trimmed(), &error);
    if (!m_processRunning) {
        // The run stays open until the user stops it, as with any encoder that gives no end.
        m_c.boxes.error(error);
    }
}

void EncoderRun::processEnded(int exitCode)
{
    m_processRunning = false;
    m_c.jobs.setExitCode(currentRow(), exitCode);
    if (m_c.ended)
        m_c.ended(exitCode);
}

void EncoderRun::terminateEncoder(int exitCode)
{
    m_stopped = true;
    if (m_process && m_processRunning) {
        m_process->terminate(exitCode);
        return;
    }
    // Nothing runs (the encoder could not be started): report the end at once, so a
    // stopped run closes like any other.
    QMetaObject::invokeMethod(
        this, [this, exitCode] { processEnded(exitCode); }, Qt::QueuedConnection);
}

void EncoderRun::endRowDisplay()
{
    m_convertUsed.stop();
    m_timer2.stop();
    m_lastProgressLine.clear();
    setProgressBar(0);
    m_c.skin.SetObjectVisible(QStringLiteral("convertinfo"), false);
}

void EncoderRun::resetPauseCaption()
{
    m_encoderRunning = true;
    if (m_c.setPauseCaption)
        m_c.setPauseCaption(m_c.texts.LookUpText(QStringLiteral("Caption"), QStringLiteral("Pause"),
                                                 QStringLiteral("Pause")));
}

void EncoderRun::keepReportLine(const QString &line)
{
    const bool progressLine =
        line.contains(QLatin1String("time=")) && line.contains(QLatin1String("bitrate="));
    if (!progressLine && !line.trimmed().isEmpty())
        m_c.jobs.addEncoderLine(currentRow(), line);
}

void EncoderRun::JvCreateProcessRead(const QString &line)
{
    m_lastEncoderSeconds = parseEncoderSeconds(line);
    if (m_lastEncoderSeconds == 0)
        return;
    m_timer2.stop();
    if (m_request.durationSeconds <= 0) {
        // No duration to measure against: show how far the encoder got instead.
        m_progressValue = 0;
        m_lastProgressLine = line;
        setProgressBar(0);
        const int row = currentRow();
        if (m_c.jobs.isValidRow(row))
            m_c.jobs.setStatus(row, secondsToTimeText(m_lastEncoderSeconds));
        updateInfoPanel();
        return;
    }
    m_progressValue =
        mulDiv(m_lastEncoderSeconds, 10000 - m_preProgressTicks, m_request.durationSeconds);
    showProgress(m_progressValue);
    updateInfoPanel();
    m_lastProgressLine = line;
}

void EncoderRun::showProgress(int value)
{
    if (!m_timer2.isActive())
        value += m_preProgressTicks;
    setProgressBar(value);
    const int row = currentRow();
    if (!m_c.jobs.isValidRow(row))
        return;
    const QString digits = QString::asprintf("%.4d", std::clamp(value, 0, 9999));
    m_c.jobs.setStatus(row,
                       digits.left(2) + QLatin1Char('.') + digits.mid(2, 2) + QLatin1Char('%'));
}

void EncoderRun::setProgressBar(int value)
{
    m_c.skin.SetBarFraction(QStringLiteral("convertpos"), std::min(value, 9999),
                            QStringLiteral("convert"), 9999);
    m_c.skin.SetObjectText(QStringLiteral("hint"), m_lastProgressLine);
}

void EncoderRun::updateInfoPanel()
{
    const QString &path = m_request.outputPath;
    m_c.skin.SetObjectText(QStringLiteral("filename"), QFileInfo(path).fileName());
    m_c.skin.SetObjectText(QStringLiteral("filesize"),
                           QString::number(m_outputSizeKB) + QStringLiteral(" KB"));
    m_c.skin.SetObjectText(QStringLiteral("filepath"), path);
    m_c.skin.SetObjectText(QStringLiteral("usedtime"), secondsToTimeText(m_elapsedSeconds));
    m_c.skin.SetObjectText(QStringLiteral("resttime"), secondsToTimeText(m_remainingSeconds));
}

void EncoderRun::Convert_usedTimer()
{
    ++m_elapsedSeconds;
    const double rate = double(m_progressValue) / double(m_elapsedSeconds);
    if (rate > 0)
        m_remainingSeconds = int32_t(roundHalfEven((10000 - m_progressValue) / rate));
    const QFileInfo out(m_request.outputPath);
    m_outputSizeKB = out.exists() ? out.size() / 1024 : 1;
}

void EncoderRun::Timer2Timer()
{
    ++m_preProgressTicks;
    showProgress(m_preProgressTicks);
}

void EncoderRun::togglePause()
{
    if (!(m_c.converting && m_c.converting()) || m_timer2.isActive())
        return;
    if (m_encoderRunning) {
        if (m_process)
            m_process->suspend();
        if (m_c.setPauseCaption)
            m_c.setPauseCaption(m_c.texts.LookUpText(
                QStringLiteral("Caption"), QStringLiteral("Continue"), QStringLiteral("Continue")));
        m_encoderRunning = false;
    } else {
        if (m_process)
            m_process->resume();
        if (m_c.setPauseCaption)
            m_c.setPauseCaption(m_c.texts.LookUpText(
                QStringLiteral("Caption"), QStringLiteral("Pause"), QStringLiteral("Pause")));
        m_encoderRunning = true;
    }
}

#pragma once

#include "core/encodercontrol.h"
#include "core/encoderprocess.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

class JobList;
class MessageBoxes;
class SkinObjects;
class TextLookup;

// Runs the encoder for the row being converted, turns its console lines into the
// row's progress (status cell, bar, information panel), keeps the elapsed and
// remaining time, the DVD pre-progress, and pause and continue.
class EncoderRun : public QObject, public EncoderControl
{
    Q_OBJECT
public:
    struct Context {
        JobList &jobs;
        SkinObjects &skin;
        const TextLookup &texts;
        MessageBoxes &boxes;
        EncoderProcessFactory makeProcess;
        std::function<int()> rowPointer;
        std::function<bool()> converting;
        std::function<void(const QString &)> setPauseCaption; // the `Pause1` menu item
        std::function<void(int exitCode)> ended;              // the queue's end handler
    };

    explicit EncoderRun(Context context, QObject *parent = nullptr);
    ~EncoderRun() override;

    // EncoderControl
    void startEncoder(const intputrec &request) override;
    void terminateEncoder(int exitCode) override;
    void resetProgressDisplay() override { setProgressBar(0); }
    void endRowDisplay() override;
    void startPreProgress() override { m_timer2.start(); }
    void stopPreProgress() override { m_timer2.stop(); }
    void resetPreProgressTicks() override { m_preProgressTicks = 0; }
    void resetPauseCaption() override;

    void JvCreateProcessRead(const QString &line);
    // A complete line of the encoder: kept in the row's report unless it is progress.
    void keepReportLine(const QString &line);
    void showProgress(int value);
    void setProgressBar(int value);
    void updateInfoPanel();
    void Convert_usedTimer();
    void Timer2Timer();
    void togglePause();

    // Read by the window and the tests.
    int progressValue() const { return m_progressValue; }
    int32_t elapsedSeconds() const { return m_elapsedSeconds; }
    int32_t remainingSeconds() const { return m_remainingSeconds; }
    int64_t outputSizeKB() const { return m_outputSizeKB; }
    int preProgressTicks() const { return m_preProgressTicks; }
    bool encoderRunning() const { return m_encoderRunning; }
    // Whether the current row's process has been started and has not ended yet.
    bool processRunning() const { return m_processRunning; }
    const QString &lastProgressLine() const { return m_lastProgressLine; }
    QTimer &convertUsedTimer() { return m_convertUsed; }
    QTimer &preProgressTimer() { return m_timer2; }

private:
    void processEnded(int exitCode);
    int currentRow() const { return m_c.rowPointer ? m_c.rowPointer() : -1; }

    Context m_c;
    QTimer m_convertUsed;
    QTimer m_timer2;
    std::unique_ptr<EncoderProcess> m_process;
    std::unique_ptr<EncoderProcess> m_retired;
    bool m_processRunning = false;
    bool m_stopped = false; // the current process was told to end
    intputrec m_request;
    int m_progressValue = 0;
    int32_t m_lastEncoderSeconds = 0;
    int32_t m_elapsedSeconds = 0;
    int32_t m_remainingSeconds = 0;
    int64_t m_outputSizeKB = 0;
    int m_preProgressTicks = 0;
    QString m_lastProgressLine;
    bool m_encoderRunning = false;
};

// The seconds of a progress line: the whole seconds after "time=", when a
// "bitrate=" follows; 0 for anything else.
int32_t parseEncoderSeconds(const QString &line);

// Rounds value * numerator / denominator to the nearest integer, halves away from zero.
int32_t mulDiv(int64_t value, int64_t numerator, int64_t denominator);

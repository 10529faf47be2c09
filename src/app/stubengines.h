#pragma once

#include "encodercontrol.h"
#include "mergecontrol.h"

class MessageBoxes;

// Until the encoder runtime is wired in, a start reports that no encoder runs.
class UnavailableEncoder : public EncoderControl
{
public:
    explicit UnavailableEncoder(MessageBoxes &boxes) : m_boxes(boxes) {}
    void startEncoder(const intputrec &request) override;
    void terminateEncoder(int) override {}
    void resetProgressDisplay() override {}
    void endRowDisplay() override {}
    void startPreProgress() override {}
    void stopPreProgress() override {}
    void resetPreProgressTicks() override {}
    void resetPauseCaption() override {}

private:
    MessageBoxes &m_boxes;
};

class NoMerge : public MergeControl
{
public:
    void startMergeCommand() override {}
    void addMergeInput(int, const QString &) override {}
    void mergeOutputs() override {}
};

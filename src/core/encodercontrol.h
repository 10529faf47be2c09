#pragma once

#include "core/jobrecords.h"

// The encoder run of the current row and its progress display, as the queue
// drives it. The end of a run is reported back to the queue with the exit code.
class EncoderControl
{
public:
    virtual ~EncoderControl() = default;
    virtual void startEncoder(const intputrec &request) = 0;
    virtual void terminateEncoder(int exitCode) = 0;
    // Progress display (status cell and bar) back to 0.
    virtual void resetProgressDisplay() = 0;
    // After a row ended: timers off, last progress line cleared, bar at 0, panel hidden.
    virtual void endRowDisplay() = 0;
    // The pre-progress of DVD rows (`Timer2`).
    virtual void startPreProgress() = 0;
    virtual void stopPreProgress() = 0;
    virtual void resetPreProgressTicks() = 0;
    // The Pause menu item back to "Pause".
    virtual void resetPauseCaption() = 0;
};

#pragma once

// Recomputes which commands of the window are enabled after a change of the job
// list, the selection, the conversion or the preview.
class CommandStates
{
public:
    virtual ~CommandStates() = default;
    virtual void UpdateCommandStates() = 0;
};

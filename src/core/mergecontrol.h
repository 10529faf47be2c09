#pragma once

#include <QString>

// Joining the outputs of a run into one file.
class MergeControl
{
public:
    virtual ~MergeControl() = default;
    virtual void startMergeCommand() = 0;
    virtual void addMergeInput(int row, const QString &path) = 0;
    virtual void mergeOutputs() = 0;
};

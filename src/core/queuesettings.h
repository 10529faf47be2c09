#pragma once

#include <QString>

// The user's run choices that the settings file keeps between runs.
struct QueueSettings {
    QString outputFolder; // always ends in "/" once a row has started
    int finishAction = 0; // 0 nothing, 1 open the output folder, 2 power off
    bool mergeOn = false; // join the outputs of a run into one file
};

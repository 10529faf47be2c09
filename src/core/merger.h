#pragma once

#include "core/mergecontrol.h"

#include <QString>

#include <functional>
#include <vector>

class JobList;
class PipedRunner;
struct ProfileState;
struct QueueSettings;
struct intputrec;

// Joins the outputs of a run into one file with the merge tool, started in the
// background after the last row; the queue does not wait for it.
class Merger : public MergeControl
{
public:
    struct Context {
        const JobList &jobs;
        const QueueSettings &settings;
        const ProfileState &profile;
        intputrec &request;
        PipedRunner &runner;
        QString programFolder;
    };

    explicit Merger(Context context);

    void startMergeCommand() override;
    void addMergeInput(int row, const QString &path) override;
    void mergeOutputs() override;

    // The command the merge tool was last started with.
    const QString &mergeCommand() const { return m_mergeCommand; }

private:
    struct Input {
        int row;
        QString path;
    };
    Context m_c;
    QString m_head;              // the tool and its first option
    std::vector<Input> m_inputs; // every row started in this run, in order
    QString m_mergeCommand;
};

#pragma once

#include <QString>

#include <functional>
#include <vector>

// The one-time sequence that builds the main window on its first showing. Each
// step is a named call; later showings (back from the tray) change nothing.
class FirstShowSequence
{
public:
    struct Step {
        QString name;
        std::function<void()> run;
    };

    void setSteps(std::vector<Step> steps) { m_steps = std::move(steps); }
    const std::vector<Step> &steps() const { return m_steps; }

    // Runs the steps once; `alreadyDone` says whether an earlier showing ran them.
    void FormShow(bool alreadyDone);

private:
    std::vector<Step> m_steps;
    bool m_running = false;
};

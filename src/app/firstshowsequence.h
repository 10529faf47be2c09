#pragma once

#include <QString>

#include <functional>
#include <stdexcept>
#include <vector>

// A step that cannot go on: the sequence ends there and says why.
struct StartupError : std::runtime_error {
    explicit StartupError(const QString &why) : std::runtime_error(why.toStdString()) {}
};

// The one-time sequence that builds the main window on its first showing. Each
// step is a named call; later showings (back from the tray) change nothing.
class FirstShowSequence
{
public:
    struct Step {
        QString name;
        std::function<void()> run;
    };

    // Shows why a step ended the sequence.
    std::function<void(const QString &)> onError;

    void setSteps(std::vector<Step> steps) { m_steps = std::move(steps); }
    const std::vector<Step> &steps() const { return m_steps; }

    // Runs the steps once; `alreadyDone` says whether an earlier showing ran them.
    void FormShow(bool alreadyDone);

private:
    std::vector<Step> m_steps;
    bool m_running = false;
};

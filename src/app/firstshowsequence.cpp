#include "app/firstshowsequence.h"

void FirstShowSequence::FormShow(bool alreadyDone)
{
    // A box shown by a step must not start the sequence a second time.
    if (alreadyDone || m_running)
        return;
    m_running = true;
    try {
        for (const Step &step : m_steps)
            if (step.run)
                step.run();
    } catch (const StartupError &e) {
        m_running = false;
        if (onError)
            onError(QString::fromStdString(e.what()));
        return;
    }
    m_running = false;
}

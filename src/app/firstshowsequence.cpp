#include "app/firstshowsequence.h"

void FirstShowSequence::FormShow(bool alreadyDone)
{
    // A box shown by a step must not start the sequence a second time.
    if (alreadyDone || m_running)
        return;
    m_running = true;
    for (const Step &step : m_steps)
        if (step.run)
            step.run();
    m_running = false;
}

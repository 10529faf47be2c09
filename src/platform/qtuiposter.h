#pragma once

#include "platform/uiposter.h"

class QObject;

// Posts to the thread of a QObject through its event queue. A call posted to a
// context that has since been destroyed is dropped by Qt, never run.
class QtUiPoster : public UiPoster
{
public:
    // The context is not owned and must outlive every worker thread that posts.
    explicit QtUiPoster(QObject *context);

    void post(std::function<void()> fn) override;

private:
    QObject *m_context;
};

#pragma once

#include <functional>

// Hands work from a worker thread to the user-interface thread. Worker threads
// only read pipes and wait for processes; everything they find reaches the
// models through a posted call, so no model is ever touched off that thread.
class UiPoster
{
public:
    virtual ~UiPoster();
    // Safe to call from any thread; fn runs later on the user-interface thread.
    virtual void post(std::function<void()> fn) = 0;
};

#pragma once

#include "app/ports/controls.h"

namespace morvane {

// The poll timer as the form has it: enabled from the start, but ticking only while
// the window is up. The clock underneath only starts and stops.
class GatedTimer {
public:
    explicit GatedTimer(Timer& clock) : clock_(clock) {}

    void Enable()
    {
        enabled_ = true;
        if (live_) clock_.Start();
    }
    void Disable()
    {
        enabled_ = false;
        clock_.Stop();
    }
    // The window shows: an enabled timer starts ticking. false when the
    // system has no timer to give.
    bool GoLive()
    {
        live_ = true;
        return !enabled_ || clock_.Start();
    }
    // The window has gone: no more ticks, whatever the form asks.
    void End()
    {
        live_ = false;
        clock_.Stop();
    }

private:
    Timer& clock_;
    bool enabled_ = true;
    bool live_ = false;
};

} // namespace morvane

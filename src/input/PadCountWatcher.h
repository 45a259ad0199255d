#pragma once

#include "platform/Messages.h"

namespace ravelo {

class InputThread;

/// Keeps one receiver (the main window) told of the number of pads while it lives: UM_GAMEPAD_COUNT at
/// once, then whenever a pad comes or goes. The counting happens on the input thread, which must
/// outlive the watcher.
class PadCountWatcher
{
public:
    /// Any thread. The first count is posted before this returns.
    PadCountWatcher(InputThread& input, WindowHandle receiver);
    /// Any thread. No count reaches the receiver after this returns.
    ~PadCountWatcher();
    PadCountWatcher(const PadCountWatcher&) = delete;
    PadCountWatcher& operator=(const PadCountWatcher&) = delete;

private:
    InputThread& m_input;
    WindowHandle m_receiver;
};

} // namespace ravelo

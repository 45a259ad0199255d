#include "input/PadCountWatcher.h"

#include "input/InputThread.h"

namespace ravelo {

PadCountWatcher::PadCountWatcher(InputThread& input, WindowHandle receiver)
    : m_input(input), m_receiver(receiver)
{
    m_input.AddPadCountWatch(m_receiver);
}

PadCountWatcher::~PadCountWatcher()
{
    m_input.RemovePadCountWatch(m_receiver);
}

} // namespace ravelo

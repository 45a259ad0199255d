#pragma once

#include <chrono>

namespace ravelo {

/// Blocks until the process with this id has ended (it need not be a child of ours) or the time-out
/// passed; true when it has ended or never existed. Waits on a process descriptor; on a system without
/// one, looks every 100 ms.
bool WaitForProcessEnd(long pid, std::chrono::milliseconds timeout);

} // namespace ravelo

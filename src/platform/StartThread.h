#pragma once

#include "platform/CrashStackGuard.h"

#include <functional>
#include <thread>
#include <type_traits>
#include <utility>

namespace ravelo {

/// Any thread. Starts a thread like std::thread(function, args...), but the new thread first gets its
/// own alternate signal stack (CrashStackGuard), so a stack overflow in it still leaves "Crash.dmp".
/// Every thread the program starts goes through here. Throws what std::thread throws.
template <typename Function, typename... Args>
std::thread StartThread(Function&& function, Args&&... args)
{
    return std::thread(
        [](std::decay_t<Function> body, std::decay_t<Args>... arguments) {
            const CrashStackGuard crashStack;
            std::invoke(std::move(body), std::move(arguments)...);
        },
        std::forward<Function>(function), std::forward<Args>(args)...);
}

} // namespace ravelo

#include "platform/CrashStackGuard.h"

#include <algorithm>
#include <csignal>
#include <sys/mman.h>
#include <unistd.h>

namespace ravelo {
namespace {

// The handler formats text and walks the stack with backtrace(); 64 KiB leaves it ample room.
constexpr std::size_t kStackBytes = 64 * 1024;

std::size_t PageSize()
{
    const long page = ::sysconf(_SC_PAGESIZE);
    return page > 0 ? static_cast<std::size_t>(page) : 4096;
}

} // namespace

CrashStackGuard::CrashStackGuard()
{
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE))
        return;

    const std::size_t page = PageSize();
    const long minimum = ::sysconf(_SC_MINSIGSTKSZ);
    std::size_t size = std::max(kStackBytes, minimum > 0 ? static_cast<std::size_t>(minimum) * 4 : 0);
    size = (size + page - 1) / page * page;
    // A no-access page below the stack: should the handler itself overrun, it faults instead of
    // writing over whatever memory lies beneath.
    void* mapping =
        ::mmap(nullptr, size + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (mapping == MAP_FAILED)
        return;
    if (::mprotect(mapping, page, PROT_NONE) != 0) {
        ::munmap(mapping, size + page);
        return;
    }
    stack_t stack{};
    stack.ss_sp = static_cast<char*>(mapping) + page;
    stack.ss_size = size;
    if (::sigaltstack(&stack, nullptr) != 0) {
        ::munmap(mapping, size + page);
        return;
    }
    m_mapping = mapping;
    m_mappingSize = size + page;
}

CrashStackGuard::~CrashStackGuard()
{
    if (!m_mapping)
        return;
    stack_t off{};
    off.ss_flags = SS_DISABLE;
    // If switching off fails the kernel still points at the stack: leaking it is the safe choice.
    if (::sigaltstack(&off, nullptr) == 0)
        ::munmap(m_mapping, m_mappingSize);
}

} // namespace ravelo

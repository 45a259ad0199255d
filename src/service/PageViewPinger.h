#pragma once

#include "service/ServiceEndpoints.h"

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace ravelo {

/// Reports page views to the statistics counter: one header-only request per view, each on a short
/// thread of its own that nobody waits for and whose result is ignored. The pinger owns those threads:
/// finished ones are joined as new pings start, and Shutdown (or destruction) cuts the running ones
/// short and joins them, so none outlives it.
class PageViewPinger
{
public:
    PageViewPinger() = default;
    ~PageViewPinger() { Shutdown(); }
    PageViewPinger(const PageViewPinger&) = delete;
    PageViewPinger& operator=(const PageViewPinger&) = delete;

    /// Any thread; returns at once. pageAddress is the referer (the page's address on the portal).
    /// Does nothing after Shutdown.
    void Send(const std::string& pageAddress);

    /// Any thread but a ping's. Aborts the pings in flight and waits for their threads.
    void Shutdown();

private:
    struct Ping
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void Run(const std::string& pageAddress);
    static int Progress(void* self, long long, long long, long long, long long);

    std::mutex m_lock;
    std::list<Ping> m_pings;
    std::atomic<bool> m_stopping{false};
};

/// The counter address: StatUrl + "&r=" + PortalUrl + "&rnd=" + token.
std::string PingAddress(const ServiceEndpoints& endpoints, const std::string& token);

/// Eight random decimal digits, each from 0 to 8.
std::string PingToken();

/// "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT <major.minor>; WOW64|WOW32)" from a kernel release
/// such as "6.1.0-18-amd64" and a machine name such as "x86_64" (any 64-bit machine gives WOW64).
std::string PingUserAgent(const std::string& kernelRelease, const std::string& machine);

/// The same for the machine the program runs on.
std::string PingUserAgent();

} // namespace ravelo

#include "service/PageViewPinger.h"

#include "platform/DebugOutput.h"
#include "platform/StartThread.h"
#include "service/CurlEasy.h"

#include <cstdio>
#include <random>
#include <sys/utsname.h>

namespace ravelo {

void PageViewPinger::Send(const std::string& pageAddress)
{
    std::lock_guard guard(m_lock);
    if (m_stopping)
        return;
    for (auto it = m_pings.begin(); it != m_pings.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = m_pings.erase(it);
        } else {
            ++it;
        }
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread = StartThread([this, pageAddress, done] {
        Run(pageAddress);
        *done = true;
    });
    m_pings.push_back(Ping{std::move(thread), std::move(done)});
}

void PageViewPinger::Shutdown()
{
    std::list<Ping> pings;
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
        pings.swap(m_pings);
    }
    for (Ping& ping : pings)
        ping.thread.join();
}

int PageViewPinger::Progress(void* self, long long, long long, long long, long long)
{
    return static_cast<PageViewPinger*>(self)->m_stopping ? 1 : 0;
}

void PageViewPinger::Run(const std::string& pageAddress)
{
    const std::string address = PingAddress(ServiceEndpoints::Load(), PingToken());
    DebugOutput("\n" + pageAddress + "\n");
    const std::string userAgent = PingUserAgent();
    CurlEasy curl;
    if (!curl)
        return;
    curl.Set(CURLOPT_URL, address.c_str());
    curl.Set(CURLOPT_USERAGENT, userAgent.c_str());
    curl.Set(CURLOPT_FOLLOWLOCATION, 1L);
    curl.Set(CURLOPT_NOBODY, 1L);
    curl.Set(CURLOPT_REFERER, pageAddress.c_str());
    curl.Set(CURLOPT_CONNECTTIMEOUT, 5L);
    curl.Set(CURLOPT_TIMEOUT, 5L);
    // Lets Shutdown cut a ping short instead of waiting out its time-outs.
    curl.Set(CURLOPT_XFERINFOFUNCTION, &PageViewPinger::Progress);
    curl.Set(CURLOPT_XFERINFODATA, static_cast<void*>(this));
    curl.Set(CURLOPT_NOPROGRESS, 0L);
    curl.Perform();
}

std::string PingAddress(const ServiceEndpoints& endpoints, const std::string& token)
{
    return endpoints.StatUrl + "&r=" + endpoints.PortalUrl + "&rnd=" + token;
}

std::string PingToken()
{
    std::random_device entropy;
    std::mt19937 generator(entropy());
    std::uniform_int_distribution<int> digit(0, 8);
    std::string token;
    for (int i = 0; i < 8; ++i)
        token += static_cast<char>('0' + digit(generator));
    return token;
}

std::string PingUserAgent(const std::string& kernelRelease, const std::string& machine)
{
    int major = 0, minor = 0;
    std::sscanf(kernelRelease.c_str(), "%d.%d", &major, &minor);
    const bool wide = machine.find("64") != std::string::npos;
    return "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT " + std::to_string(major) + "." +
           std::to_string(minor) + "; " + (wide ? "WOW64" : "WOW32") + ")";
}

std::string PingUserAgent()
{
    utsname name{};
    if (::uname(&name) != 0)
        return PingUserAgent("", "");
    return PingUserAgent(name.release, name.machine);
}

} // namespace ravelo

#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ravelo::test {

/// A small HTTP server on 127.0.0.1 and a port the system picks, run on a thread of its own. Handlers
/// added through Get and Post record every request before they answer, and a test can wait until a
/// number of requests has arrived. Add handlers before Start; Stop (or destruction) ends it, so a
/// handler that holds a request must be released first.
class LoopbackHttpServer
{
public:
    struct Received
    {
        std::string method;
        std::string path;
        std::string target; // path with the query
        std::string body;
        httplib::Headers headers;
        httplib::Params params;

        std::string Header(const std::string& name) const
        {
            const auto it = headers.find(name);
            return it == headers.end() ? std::string() : it->second;
        }
    };

    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    LoopbackHttpServer() = default;
    ~LoopbackHttpServer() { Stop(); }
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    /// Also answers HEAD requests to the pattern.
    void Get(const std::string& pattern, Handler handler)
    {
        m_server.Get(pattern, Recording(std::move(handler)));
    }
    void Post(const std::string& pattern, Handler handler)
    {
        m_server.Post(pattern, Recording(std::move(handler)));
    }
    httplib::Server& Server() { return m_server; }

    void Start()
    {
        m_port = m_server.bind_to_any_port("127.0.0.1");
        // The socket listens from here on; connections wait in its backlog until the loop accepts them.
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        // stop() is ignored until the accept loop runs, and the library offers no signal for that; the
        // wait is a few scheduler turns at most.
        while (m_port > 0 && !m_server.is_running())
            std::this_thread::yield();
    }

    void Stop()
    {
        if (!m_thread.joinable())
            return;
        m_server.stop();
        m_thread.join();
    }

    int Port() const { return m_port; }
    /// "http://127.0.0.1:<port>"
    std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    std::string Url(const std::string& path) const { return BaseUrl() + path; }

    std::vector<Received> Requests() const
    {
        std::lock_guard guard(m_lock);
        return m_received;
    }

    /// True once at least count requests have arrived; false after the timeout (a failure guard only).
    bool WaitForRequests(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10)) const
    {
        std::unique_lock guard(m_lock);
        return m_arrived.wait_for(guard, timeout, [&] { return m_received.size() >= count; });
    }

private:
    httplib::Server::Handler Recording(Handler handler)
    {
        return [this, handler = std::move(handler)](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard guard(m_lock);
                m_received.push_back(
                    Received{req.method, req.path, req.target, req.body, req.headers, req.params});
            }
            m_arrived.notify_all();
            handler(req, res);
        };
    }

    httplib::Server m_server;
    std::thread m_thread;
    int m_port = -1;
    mutable std::mutex m_lock;
    mutable std::condition_variable m_arrived;
    std::vector<Received> m_received;
};

} // namespace ravelo::test

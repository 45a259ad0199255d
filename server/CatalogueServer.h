#pragma once

#include "server/AccessLog.h"
#include "server/AccountStore.h"
#include "server/AnswerCache.h"
#include "server/CatalogueStore.h"
#include "server/ClientApi.h"
#include "server/ConnectionPool.h"
#include "server/PortalApi.h"

#include <cstddef>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

namespace ravelo::server {

class HttpServer;

struct ServerOptions
{
    std::string root;               ///< catalogue folder made by build-demo (catalogue.db, download/, pic/)
    std::string host = "127.0.0.1"; ///< address to bind
    int port = 8650;                ///< 0 picks a free port
    std::size_t threads = 16;       ///< HTTP worker threads (and at most as many database connections)
    bool absolutePictures = false;  ///< picture addresses as full URLs instead of paths
    std::size_t gameRate = 0;       ///< bytes a second for each game archive (0: as fast as it goes)
    AccessLog* accessLog = nullptr; ///< not owned; null writes no log
};

/// The catalogue service over HTTP: the catalogue API, downloads, pictures, the emulator list, the
/// update answer and the page-view counter. Built on cpp-httplib's thread pool; every handler runs
/// on a pool thread and never throws out of it. Open, then Run (or Start), then Stop from any
/// thread; the destructor stops and joins.
class CatalogueServer
{
public:
    explicit CatalogueServer(ServerOptions options);
    ~CatalogueServer();
    CatalogueServer(const CatalogueServer&) = delete;
    CatalogueServer& operator=(const CatalogueServer&) = delete;

    /// Opens the catalogue and binds the port; false with a message for the user in `error`.
    bool Open(std::string& error);
    /// The bound port (the chosen one when the options asked for 0).
    int Port() const { return m_port; }
    const std::string& Host() const { return m_options.host; }

    /// Serves on the calling thread until Stop is called.
    void Run();
    /// Serves on a thread of its own.
    void Start();
    /// Closes the listener and lets running requests finish; callable from any thread, repeatedly.
    void Stop();

    /// Largest request body accepted (larger bodies get 413).
    static constexpr std::size_t MaxBodyBytes = 64 * 1024;

private:
    void Install();
    void Dispatch(const httplib::Request& request, httplib::Response& response);
    void Hop(const httplib::Request& request, httplib::Response& response, const std::string& rest, int code);
    void Log(const httplib::Request& request, const httplib::Response& response);
    std::string HostFor(const httplib::Request& request) const;

    ServerOptions m_options;
    int m_port = 0;
    std::unique_ptr<ConnectionPool> m_pool;
    std::unique_ptr<CatalogueStore> m_catalogue;
    std::unique_ptr<AccountStore> m_accounts;
    std::unique_ptr<AnswerCache> m_answers;
    std::unique_ptr<ClientApi> m_clientApi;
    std::unique_ptr<PortalApi> m_portalApi;
    std::unique_ptr<HttpServer> m_http;
    std::thread m_thread;
};

} // namespace ravelo::server

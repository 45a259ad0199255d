#pragma once

#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <memory>
#include <string>
#include <vector>

namespace ravelo::test {

/// ravelo-server as a real process serving a freshly built demo catalogue on 127.0.0.1 and a port it
/// picks. Stopped with SIGTERM, its catalogue removed, when destroyed.
class DemoCatalogueServer
{
public:
    /// extraServeArgs go to "serve" (e.g. "--game-rate", "20000").
    explicit DemoCatalogueServer(const std::string& serverExe, std::vector<std::string> extraServeArgs = {})
    {
        using namespace std::chrono_literals;
        ChildProcess build({serverExe, "build-demo", m_folder / "demo"});
        if (build.Wait() != 0)
            return;
        std::vector<std::string> command{serverExe, "serve",        "--root",    m_folder / "demo", "--port",
                                         "0",       "--access-log", AccessLog(), "--log-bodies"};
        command.insert(command.end(), extraServeArgs.begin(), extraServeArgs.end());
        m_server = std::make_unique<ChildProcess>(command);
        const std::string line = m_server->ReadLine(10s);
        const std::string prefix = "listening on 127.0.0.1:";
        if (line.rfind(prefix, 0) == 0)
            m_baseUrl = "http://127.0.0.1:" + line.substr(prefix.size());
    }
    ~DemoCatalogueServer()
    {
        if (m_server)
            m_server->StopWith(SIGTERM, std::chrono::seconds(10));
    }
    DemoCatalogueServer(const DemoCatalogueServer&) = delete;
    DemoCatalogueServer& operator=(const DemoCatalogueServer&) = delete;

    /// "http://127.0.0.1:<port>", or empty when the catalogue could not be built or served.
    const std::string& BaseUrl() const { return m_baseUrl; }
    std::string Root() const { return m_folder / "demo"; }
    /// The server's request log: one line per request, as it arrived.
    std::string AccessLog() const { return m_folder / "access.log"; }

private:
    TempFolder m_folder;
    std::unique_ptr<ChildProcess> m_server;
    std::string m_baseUrl;
};

} // namespace ravelo::test

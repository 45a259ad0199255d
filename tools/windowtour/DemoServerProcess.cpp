#include "DemoServerProcess.h"

#include "platform/FileSystem.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace ravelo::tour {
namespace {

int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool Answers(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return connected;
}

} // namespace

DemoServerProcess::DemoServerProcess(const std::string& folder)
{
    const std::string server = ExecutableFolder() + "ravelo-server";
    Process build;
    if (!build.Start({server, {"build-demo", folder + "demo"}, {}}) || build.Wait() != 0)
        return;
    const int port = FreePort();
    if (port <= 0 || !m_server.Start({server,
                                      {"serve", "--root", folder + "demo", "--port", std::to_string(port),
                                       "--access-log", folder + "access.log", "--game-rate", "24000"},
                                      {}}))
        return;
    for (int i = 0; i < 200 && m_server.IsRunning(); ++i) {
        if (Answers(port)) {
            m_url = "http://127.0.0.1:" + std::to_string(port);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
}

DemoServerProcess::~DemoServerProcess()
{
    if (m_server.IsRunning()) {
        m_server.Terminate();
        m_server.Wait();
    }
}

} // namespace ravelo::tour

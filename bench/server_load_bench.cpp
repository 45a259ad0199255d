// Requests per second that ravelo-server holds on loopback with 8 concurrent keep-alive clients,
// each asking for game lists as the catalogue pages do, against a reference measured in the same
// run: a bare cpp-httplib server with the same threads and connection settings answering a fixed
// string. Prints both rates and their ratio (server / reference).
//
//   server_load_bench [requests]     (default 20000, spread over the 8 clients)
#include "server/CatalogueServer.h"
#include "server/DemoBuilder.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int Clients = 8;
constexpr std::size_t ServerThreads = 16;

struct Rate
{
    double perSecond = 0;
    int failures = 0;
};

/// Runs `requests` requests spread over the clients, each client on one keep-alive connection.
template <typename Send>
Rate Measure(int port, int requests, Send send)
{
    std::atomic<int> failures{0};
    std::vector<std::thread> clients;
    const auto start = std::chrono::steady_clock::now();
    for (int c = 0; c < Clients; ++c) {
        clients.emplace_back([&, c] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            client.set_tcp_nodelay(true);
            const int share = requests / Clients + (c < requests % Clients ? 1 : 0);
            for (int i = 0; i < share; ++i) {
                if (!send(client, c * 100000 + i))
                    ++failures;
            }
        });
    }
    for (auto& client : clients)
        client.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {requests / seconds, failures.load()};
}

std::string GameListBody(int n)
{
    // The pages' own requests: the first pages of the whole list, and the FC games.
    const bool fc = n % 2 == 1;
    const int page = fc ? 1 : n % 3 + 1;
    return "model=appstore&action=gamelist&clientparams= | |zh| | |pc1.0&page=" + std::to_string(page) +
           "&pagesize=20&categoryid= &emulatorid=" + (fc ? "002" : " ") + "&orderby=recommend&language= ";
}

} // namespace

int main(int argc, char** argv)
{
    const int requests = argc > 1 ? std::max(Clients, std::atoi(argv[1])) : 20000;
    const auto folder =
        std::filesystem::temp_directory_path() / ("ravelo-server-bench-" + std::to_string(::getpid()));
    ravelo::server::DemoOptions demo;
    demo.folder = folder.string();
    std::string error;
    if (!ravelo::server::DemoBuilder(demo).Build(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }

    ravelo::server::ServerOptions options;
    options.root = demo.folder;
    options.port = 0;
    options.threads = ServerThreads;
    ravelo::server::CatalogueServer server(options);
    if (!server.Open(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    server.Start();

    // The reference: the same library, thread count and connection settings, and no work at all.
    httplib::Server reference;
    reference.new_task_queue = [] { return new httplib::ThreadPool(ServerThreads); };
    reference.set_keep_alive_max_count(100);
    reference.set_keep_alive_timeout(3);
    reference.set_tcp_nodelay(true);
    const std::string fixed = R"({"status":1,"msg":"ok"})";
    reference.Post("/clientapi/", [&fixed](const httplib::Request&, httplib::Response& response) {
        response.set_content(fixed, "application/json; charset=utf-8");
    });
    const int referencePort = reference.bind_to_any_port("127.0.0.1");
    std::thread referenceThread([&reference] { reference.listen_after_bind(); });

    const auto post = [](httplib::Client& client, int n) {
        const auto result = client.Post("/clientapi/", GameListBody(n), "application/x-www-form-urlencoded");
        return result && result->status == 200 && result->body.find("\"gamelist\":[{") != std::string::npos;
    };
    const auto postFixed = [](httplib::Client& client, int n) {
        const auto result = client.Post("/clientapi/", GameListBody(n), "application/x-www-form-urlencoded");
        return result && result->status == 200;
    };
    Measure(server.Port(), Clients * 50, post); // warm the connections' statements and caches
    const Rate ours = Measure(server.Port(), requests, post);
    const Rate bare = Measure(referencePort, requests, postFixed);

    std::printf("requests: %d over %d keep-alive clients\n", requests, Clients);
    std::printf("ravelo-server gamelist:      %10.0f requests/s (%d failed)\n", ours.perSecond,
                ours.failures);
    std::printf("bare cpp-httplib reference:  %10.0f requests/s (%d failed)\n", bare.perSecond,
                bare.failures);
    std::printf("ratio (server / reference):  %10.3f\n", ours.perSecond / bare.perSecond);

    reference.stop();
    referenceThread.join();
    server.Stop();
    std::filesystem::remove_all(folder);
    return ours.failures == 0 && bare.failures == 0 ? 0 : 1;
}

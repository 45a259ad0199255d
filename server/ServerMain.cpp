// ravelo-server: hosts a game catalogue for Ravelo clients, and builds a demo catalogue.
#include "server/AccessLog.h"
#include "server/CatalogueImporter.h"
#include "server/CatalogueServer.h"
#include "server/DemoBuilder.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <pthread.h>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace ravelo::server;

const char* const Usage =
    "用法:\n"
    "  ravelo-server build-demo DIR [--update-version X.Y.Z] [--cloud-share URL] [--force]\n"
    "  ravelo-server serve --root DIR [--port 8650] [--host 127.0.0.1] [--threads 16]\n"
    "                      [--access-log FILE] [--log-bodies] [--absolute-pictures]\n"
    "                      [--game-rate BYTES]\n"
    "  ravelo-server import --root DIR MANIFEST\n"
    "\n"
    "build-demo  在 DIR 中生成演示目录（数据库、游戏压缩包、分卷、图片、模拟器和更新包）。\n"
    "serve       提供 DIR 中的目录。--port 0 选择空闲端口；启动后输出 \"listening on HOST:PORT\"。\n"
    "            每个请求在标准输出（或 --access-log 指定的文件）留下一行访问记录。\n"
    "import      按清单把游戏加入或更新到 DIR 的目录中。清单每行一个游戏:\n"
    "            游戏编号 | 压缩包 | 名称 | 机种 | 分类 | 语言 | 图标 | 截图（以空格分隔）\n";

int Fail(const std::string& message)
{
    std::fprintf(stderr, "ravelo-server: %s\n", message.c_str());
    return 1;
}

bool ParsePort(const std::string& text, int& port)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::atoi(text.c_str());
    return port <= 65535;
}

int BuildDemo(const std::vector<std::string>& args)
{
    DemoOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--update-version" && hasValue) {
            options.updateVersion = args[++i];
            if (!std::regex_match(options.updateVersion, std::regex(R"(\d{1,4}\.\d{1,4}\.\d{1,4})")))
                return Fail("版本号应为 X.Y.Z 形式: " + options.updateVersion);
        } else if (arg == "--cloud-share" && hasValue) {
            options.cloudShareBase = args[++i];
            while (!options.cloudShareBase.empty() && options.cloudShareBase.back() == '/')
                options.cloudShareBase.pop_back();
        } else if (arg == "--force") {
            options.force = true;
        } else if (!arg.empty() && arg[0] != '-' && options.folder.empty()) {
            options.folder = arg;
        } else {
            return Fail("无法识别的参数: " + arg + "\n" + Usage);
        }
    }
    if (options.folder.empty())
        return Fail(std::string("缺少目录文件夹\n") + Usage);
    std::string error;
    if (!DemoBuilder(options).Build(error))
        return Fail(error);
    std::printf("演示目录已生成: %s\n", options.folder.c_str());
    return 0;
}

int Serve(const std::vector<std::string>& args)
{
    ServerOptions options;
    std::string logPath;
    bool logBodies = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--root" && hasValue) {
            options.root = args[++i];
        } else if (arg == "--port" && hasValue) {
            if (!ParsePort(args[++i], options.port))
                return Fail("端口无效: " + args[i]);
        } else if (arg == "--host" && hasValue) {
            options.host = args[++i];
        } else if (arg == "--threads" && hasValue) {
            options.threads = static_cast<std::size_t>(std::strtoul(args[++i].c_str(), nullptr, 10));
            if (options.threads == 0 || options.threads > 256)
                return Fail("线程数应在 1 到 256 之间: " + args[i]);
        } else if (arg == "--access-log" && hasValue) {
            logPath = args[++i];
        } else if (arg == "--log-bodies") {
            logBodies = true;
        } else if (arg == "--absolute-pictures") {
            options.absolutePictures = true;
        } else if (arg == "--game-rate" && hasValue) {
            const std::string value = args[++i];
            if (value.empty() || value.size() > 12 ||
                value.find_first_not_of("0123456789") != std::string::npos)
                return Fail("--game-rate 需要每秒字节数: " + value);
            options.gameRate = static_cast<std::size_t>(std::stoull(value));
        } else {
            return Fail("无法识别的参数: " + arg + "\n" + Usage);
        }
    }
    if (options.root.empty())
        return Fail(std::string("缺少 --root\n") + Usage);

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> logFile(nullptr, &std::fclose);
    if (!logPath.empty()) {
        logFile.reset(std::fopen(logPath.c_str(), "a"));
        if (!logFile)
            return Fail("无法打开访问记录文件: " + logPath);
    }
    AccessLog log(logFile ? logFile.get() : stdout, logBodies);
    options.accessLog = &log;

    // SIGINT and SIGTERM are taken by sigwait on this thread, never by a handler, so stopping is
    // ordinary code; the mask is set before any thread starts, so every thread inherits it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    CatalogueServer server(options);
    std::string error;
    if (!server.Open(error))
        return Fail(error);
    std::printf("listening on %s:%d\n", server.Host().c_str(), server.Port());
    std::fflush(stdout);
    server.Start();
    int received = 0;
    sigwait(&stopSignals, &received);
    server.Stop();
    return 0;
}

int Import(const std::vector<std::string>& args)
{
    std::string root;
    std::string manifest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--root" && i + 1 < args.size())
            root = args[++i];
        else if (!args[i].empty() && args[i][0] != '-' && manifest.empty())
            manifest = args[i];
        else
            return Fail("无法识别的参数: " + args[i] + "\n" + Usage);
    }
    if (root.empty() || manifest.empty())
        return Fail(std::string("缺少 --root 或清单文件\n") + Usage);
    ImportResult result;
    const bool imported = CatalogueImporter(root).Import(manifest, result);
    for (const ManifestProblem& problem : result.problems)
        std::fprintf(stderr, "%s:%d: %s\n", manifest.c_str(), problem.line, problem.reason.c_str());
    if (!result.problems.empty())
        return Fail("清单有误，没有导入任何游戏");
    if (!imported)
        return Fail(result.error);
    std::printf("已导入: 新增 %d 个游戏，更新 %d 个游戏\n", result.added, result.updated);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "build-demo")
        return BuildDemo(args);
    if (command == "serve")
        return Serve(args);
    if (command == "import")
        return Import(args);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(Usage, stdout);
        return 0;
    }
    return Fail(std::string("缺少命令\n") + Usage);
}

#include "server/CatalogueServer.h"

#include "server/AnswerAddresses.h"
#include "server/CatalogueJson.h"
#include "server/CatalogueRevision.h"
#include "server/CatalogueSchema.h"
#include "server/SafePath.h"
#include "server/SqliteError.h"
#include "server/StaticFiles.h"

#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

#include <httplib.h>

#include <exception>

#include <sys/socket.h>
#include <unistd.h>

namespace ravelo::server {

namespace {

const char* const JsonType = "application/json; charset=utf-8";
const char* const HopPrefix = "/download/hop/";
const char* const Hop301Prefix = "/download/hop301/";
constexpr int MaxHops = 50;

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

/// The library parses a Range header into Request::ranges and, in this version, slices every
/// answer by it afterwards, overflowing on a range past the end (an out-of-range throw that would
/// end the process). Files are served with their ranges by our own code, so the library's copy is
/// emptied before it can act. The request object is the library's own mutable one; only the
/// handler interfaces hand it out as const.
void DisarmLibraryRanges(const httplib::Request& request)
{
    const_cast<httplib::Request&>(request).ranges.clear();
}

std::string MessageForStatus(int status)
{
    switch (status) {
    case 400:
        return "请求格式错误";
    case 403:
        return "用户验证失败";
    case 404:
        return "请求的资源不存在";
    case 405:
        return "不支持的请求方法";
    case 413:
        return "请求内容过大";
    case 414:
        return "请求地址过长";
    case 416:
        return "请求的范围无效";
    default:
        return status >= 500 ? "服务器内部错误" : "请求失败";
    }
}

void SendJson(httplib::Response& response, const ApiAnswer& answer)
{
    response.status = answer.status;
    response.set_content(answer.body, JsonType);
}

void SendError(httplib::Response& response, int status)
{
    SendJson(response, {status, WriteJson(ErrorJson(MessageForStatus(status)))});
}

bool IsPostEndpoint(const std::string& path)
{
    return path == "/clientapi/" || path == "/clientapi" || path == "/download/pc/update/emulators.php" ||
           path == "/download/pc/update/index.php" || path == "/wapstat.php";
}

bool MethodAllowed(httplib::Response& response, const std::string& method, bool allowPost)
{
    if (method == "GET" || method == "HEAD" || (allowPost && method == "POST"))
        return true;
    response.set_header("Allow", allowPost ? "GET, HEAD, POST" : "GET, HEAD");
    SendError(response, 405);
    return false;
}

const char* const IndexPage = R"html(<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>Ravelo 游戏目录</title></head>
<body><h1>Ravelo 游戏目录服务器</h1>
<p>这里为 Ravelo 游戏中心提供游戏目录、下载、图片、模拟器列表和更新信息。</p></body></html>
)html";

} // namespace

/// The library's server with a stop that also works before listening has begun: the library's
/// own stop does nothing until the accept loop runs, which would leave a quick Start and Stop
/// waiting forever. Closing the listening socket first makes the accept loop end, or never begin.
class HttpServer : public httplib::Server
{
public:
    void Close()
    {
        const auto socket = svr_sock_.exchange(INVALID_SOCKET);
        if (socket != INVALID_SOCKET) {
            ::shutdown(socket, SHUT_RDWR);
            ::close(socket);
        }
    }
};

CatalogueServer::CatalogueServer(ServerOptions options) : m_options(std::move(options))
{
    m_options.root = WithTrailingSeparator(m_options.root);
    if (m_options.threads == 0)
        m_options.threads = 1;
}

CatalogueServer::~CatalogueServer()
{
    Stop();
}

bool CatalogueServer::Open(std::string& error)
{
    const std::string database = m_options.root + "catalogue.db";
    if (!FileExists(database)) {
        error = "目录文件夹中没有目录数据库: " + database;
        return false;
    }
    try {
        m_pool = std::make_unique<ConnectionPool>(database, m_options.threads);
        m_catalogue = std::make_unique<CatalogueStore>(*m_pool);
        m_accounts = std::make_unique<AccountStore>(*m_pool);
        if (m_catalogue->Setting("schema") != CatalogueSchemaVersion) {
            error = "目录数据库的版本不受支持: " + database;
            return false;
        }
        m_accounts->EnsureSuggestionTable();
    } catch (const SqliteError& failure) {
        error = std::string("目录数据库无法打开: ") + failure.what();
        return false;
    }
    try {
        auto db = m_pool->Acquire();
        CatalogueRevision::Install(*db);
    } catch (const SqliteError& failure) {
        // A catalogue the server may not change is still served, only without kept answers.
        DebugOutput(std::string("catalogue answers are not kept: ") + failure.what() + "\n");
    }
    m_answers = std::make_unique<AnswerCache>(*m_pool);
    m_clientApi = std::make_unique<ClientApi>(*m_catalogue, *m_accounts);
    m_portalApi = std::make_unique<PortalApi>(*m_catalogue, *m_accounts);
    m_http = std::make_unique<HttpServer>();
    Install();
    if (m_options.port == 0) {
        m_port = m_http->bind_to_any_port(m_options.host);
    } else {
        m_port = m_http->bind_to_port(m_options.host, m_options.port) ? m_options.port : -1;
    }
    if (m_port <= 0) {
        error = "无法在 " + m_options.host + ":" + std::to_string(m_options.port) + " 上监听";
        m_http.reset();
        return false;
    }
    return true;
}

void CatalogueServer::Install()
{
    const std::size_t threads = m_options.threads;
    m_http->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    m_http->set_payload_max_length(MaxBodyBytes);
    m_http->set_keep_alive_max_count(100);
    m_http->set_keep_alive_timeout(3);
    m_http->set_read_timeout(5);
    m_http->set_write_timeout(5);
    m_http->set_tcp_nodelay(true);

    // Everything but the POST endpoints is answered here, before the library looks at the body or
    // matches its regular-expression routes (whose recursive matcher is no friend of long paths).
    m_http->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        DisarmLibraryRanges(request);
        // A request without Content-Length or Transfer-Encoding has no body; the library would wait
        // for the connection to close instead, so such a POST is answered here with its empty body.
        const bool announcesBody =
            request.has_header("Content-Length") || request.has_header("Transfer-Encoding");
        if (request.method == "POST" && IsPostEndpoint(request.path) && announcesBody)
            return httplib::Server::HandlerResponse::Unhandled;
        if (request.method != "GET" && request.method != "HEAD" && announcesBody)
            response.set_header("Connection", "close"); // the body stays unread, so end the connection
        Dispatch(request, response);
        return httplib::Server::HandlerResponse::Handled;
    });
    auto post = [this](const httplib::Request& request, httplib::Response& response) {
        Dispatch(request, response);
    };
    for (const char* pattern : {"/clientapi/", "/clientapi", R"(/download/pc/update/emulators\.php)",
                                R"(/download/pc/update/index\.php)", R"(/wapstat\.php)"})
        m_http->Post(pattern, post);

    m_http->set_error_handler(httplib::Server::HandlerWithResponse(
        [](const httplib::Request& request, httplib::Response& response) {
            DisarmLibraryRanges(request);
            if (!response.body.empty() || response.content_length_ > 0)
                return httplib::Server::HandlerResponse::Unhandled;
            SendError(response, response.status);
            return httplib::Server::HandlerResponse::Handled;
        }));
    m_http->set_exception_handler([](const httplib::Request&, httplib::Response& response,
                                     std::exception_ptr) { SendError(response, 500); });
    m_http->set_logger([this](const httplib::Request& request, const httplib::Response& response) {
        Log(request, response);
    });
}

std::string CatalogueServer::HostFor(const httplib::Request& request) const
{
    const std::string host = request.get_header_value("Host");
    if (AnswerAddresses::IsPlainHost(host))
        return host;
    // No usable Host header: name the address the client reached.
    return (request.local_addr.empty() ? m_options.host : request.local_addr) + ":" + std::to_string(m_port);
}

void CatalogueServer::Dispatch(const httplib::Request& request, httplib::Response& response)
{
    const std::string& path = request.path;
    const AnswerAddresses addresses(HostFor(request), m_options.absolutePictures);

    if (path == "/clientapi/" || path == "/clientapi") {
        if (request.method != "POST") {
            response.set_header("Allow", "POST");
            SendError(response, 405);
            return;
        }
        SendJson(response, m_answers->Answer(request.body, addresses,
                                             [&] { return m_clientApi->Handle(request.body, addresses); }));
    } else if (path == "/download/pc/update/emulators.php") {
        if (MethodAllowed(response, request.method, true))
            SendJson(response, m_portalApi->EmulatorList(addresses));
    } else if (path == "/download/pc/update/index.php") {
        if (MethodAllowed(response, request.method, true))
            SendJson(response, m_portalApi->UpdateInfo(addresses));
    } else if (path == "/wapstat.php") {
        if (!MethodAllowed(response, request.method, true))
            return;
        PageView view;
        view.siteId = request.get_param_value("siteid");
        view.r = request.get_param_value("r");
        view.rnd = request.get_param_value("rnd");
        view.referer = request.get_header_value("Referer");
        view.userAgent = request.get_header_value("User-Agent");
        view.remoteAddr = request.remote_addr;
        SendJson(response, m_portalApi->CountPageView(view));
    } else if (StartsWith(path, Hop301Prefix)) {
        if (MethodAllowed(response, request.method, false))
            Hop(request, response, path.substr(std::char_traits<char>::length(Hop301Prefix)), 301);
    } else if (StartsWith(path, HopPrefix)) {
        if (MethodAllowed(response, request.method, false))
            Hop(request, response, path.substr(std::char_traits<char>::length(HopPrefix)), 302);
    } else if (StartsWith(path, "/download/")) {
        if (MethodAllowed(response, request.method, false))
            ServeFile(request, response, m_options.root + "download", path.substr(10),
                      StartsWith(path, "/download/games/") ? m_options.gameRate : 0);
    } else if (StartsWith(path, "/pic/")) {
        if (MethodAllowed(response, request.method, false))
            ServeFile(request, response, m_options.root + "pic", path.substr(5));
    } else if (path == "/" || path == "/portal" || StartsWith(path, "/portal/")) {
        // The portal's pages (the referers of page views) all show the one index page.
        if (MethodAllowed(response, request.method, false)) {
            response.status = 200;
            response.set_content(IndexPage, "text/html; charset=utf-8");
        }
    } else {
        SendError(response, 404);
    }
}

void CatalogueServer::Hop(const httplib::Request& request, httplib::Response& response,
                          const std::string& rest, int code)
{
    // "N/<file>": N more redirects before the file itself; 0 serves it.
    const auto slash = rest.find('/');
    const std::string count = rest.substr(0, slash);
    const bool numeric =
        !count.empty() && count.size() <= 2 && count.find_first_not_of("0123456789") == std::string::npos;
    if (slash == std::string::npos || !numeric || std::stoi(count) > MaxHops) {
        SendError(response, 400);
        return;
    }
    const std::string file = rest.substr(slash + 1);
    const int hops = std::stoi(count);
    if (hops == 0) {
        ServeFile(request, response, m_options.root + "download", file);
        return;
    }
    const auto safe = SafeRelativePath(file);
    if (!safe) {
        SendError(response, 400);
        return;
    }
    // The last hop leads to the file's own address.
    const AnswerAddresses addresses(HostFor(request), false);
    const std::string prefix = code == 301 ? "/download/hop301/" : "/download/hop/";
    const std::string encoded = AnswerAddresses::EncodePath(*safe);
    response.set_redirect(hops == 1 ? addresses.Base() + "/download/" + encoded
                                    : addresses.Base() + prefix + std::to_string(hops - 1) + "/" + encoded,
                          code);
}

void CatalogueServer::Log(const httplib::Request& request, const httplib::Response& response)
{
    if (!m_options.accessLog)
        return;
    std::uint64_t bytes = 0;
    if (request.method != "HEAD")
        bytes = response.body.empty() ? response.content_length_ : response.body.size();
    m_options.accessLog->Write(request.remote_addr, request.method, request.target, response.status, bytes,
                               request.body);
}

void CatalogueServer::Run()
{
    if (m_http)
        m_http->listen_after_bind();
}

void CatalogueServer::Start()
{
    if (m_http && !m_thread.joinable())
        m_thread = std::thread([this] { Run(); });
}

void CatalogueServer::Stop()
{
    if (m_http)
        m_http->Close();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

} // namespace ravelo::server

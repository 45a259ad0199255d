#pragma once

#include "support/LoopbackHttpServer.h"

#include <atomic>
#include <climits>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

namespace ravelo::test {

/// Serves in-memory files under /files/<name> on 127.0.0.1 with HEAD, Range and 206, and can
/// misbehave on demand the ways real servers do.
class TestFileServer
{
public:
    enum class Mode
    {
        Normal,
        IgnoreRange, // always 200 with the whole file
        WrongRange,  // a ranged request gets 206 from byte 0
        GetNotFound, // HEAD answers, GET says 404
    };

    TestFileServer()
    {
        m_http.Get(R"(/files/(.+))",
                   [this](const httplib::Request& req, httplib::Response& res) { Serve(req, res); });
        m_http.Get(R"(/hop/(\d+)/(.+))", [this](const httplib::Request& req, httplib::Response& res) {
            const int hops = std::stoi(req.matches[1]);
            res.status = 302;
            res.set_header("Location",
                           hops > 1 ? Url("/hop/" + std::to_string(hops - 1) + "/" + req.matches[2].str())
                                    : Url("/files/" + req.matches[2].str()));
        });
        AddCloudDrive();
    }

    /// The cloud drive's share page for `file` wants `code` typed from a captcha (none when empty).
    void ShareFile(const std::string& file, const std::string& code)
    {
        std::lock_guard guard(m_lock);
        m_shares["1abc"] = file;
        m_captchaCode = code;
    }
    std::string ShareLink() const { return Url("/s/1abc"); }
    /// A share link of its own for `file` (the captcha, if any, is the one of ShareFile).
    std::string ShareLinkFor(const std::string& file)
    {
        std::lock_guard guard(m_lock);
        m_shares["f-" + file] = file;
        return Url("/s/f-" + file);
    }
    /// The next `count` HEAD answers for `name` (every one when left out) do not tell its length.
    void HideLength(const std::string& name, int count = INT_MAX)
    {
        std::lock_guard guard(m_lock);
        m_lengthHidden[name] = count;
    }
    int HeadCount(const std::string& name) const
    {
        int count = 0;
        for (const auto& r : m_http.Requests())
            count += r.method == "HEAD" && r.path == "/files/" + name;
        return count;
    }
    ~TestFileServer()
    {
        ReleaseGate();
        m_http.Stop();
    }

    void Start() { m_http.Start(); }
    LoopbackHttpServer& Http() { return m_http; }
    std::string Url(const std::string& path) const { return m_http.Url(path); }
    std::string FileUrl(const std::string& name) const { return Url("/files/" + name); }

    void Put(const std::string& name, std::string content, Mode mode = Mode::Normal)
    {
        std::lock_guard guard(m_lock);
        m_files[name] = {std::move(content), mode};
    }

    /// From now on GET answers of `name` stop after `bytes` bytes of the file until ReleaseGate.
    void CloseGate(const std::string& name, std::size_t bytes)
    {
        std::lock_guard guard(m_lock);
        m_gates[name] = bytes;
        m_gateOpen = false;
    }
    void ReleaseGate()
    {
        {
            std::lock_guard guard(m_lock);
            m_gateOpen = true;
            m_gates.clear();
        }
        m_gateChanged.notify_all();
    }
    /// Waits until `count` gated answers have sent everything before their gates.
    bool WaitAtGate(int count = 1, std::chrono::milliseconds timeout = std::chrono::seconds(10))
    {
        std::unique_lock guard(m_lock);
        return m_gateChanged.wait_for(guard, timeout, [&] { return m_waitingAtGate >= count; });
    }

    int GetCount(const std::string& name) const
    {
        int count = 0;
        for (const auto& r : m_http.Requests())
            count += r.method == "GET" && r.path == "/files/" + name;
        return count;
    }
    std::vector<std::string> RangesAsked(const std::string& name) const
    {
        std::vector<std::string> ranges;
        for (const auto& r : m_http.Requests())
            if (r.method == "GET" && r.path == "/files/" + name)
                ranges.push_back(r.Header("Range"));
        return ranges;
    }

private:
    // A double of the cloud drive: share page, share download with captcha rounds, cookie planting,
    // and a download link that redirects to the file.
    void AddCloudDrive()
    {
        m_http.Get(R"(/s/(.+))", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard guard(m_lock);
            const auto share = m_shares.find(req.matches[1]);
            if (share == m_shares.end()) {
                res.status = 404;
                return;
            }
            res.set_header("Set-Cookie", "BDCLND=share; Path=/");
            res.set_content("<script>FileUtils.uk=\"11\";FileUtils.shareid=\"22\";FileUtils.timestamp=\"33\";"
                            "FileUtils.downloadsign=\"sig\";var d=\"{\\\"fs_id\\\":\\\"" +
                                share->second + "\\\",}\";</script>",
                            "text/html");
        });
        m_http.Get("/share/download", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard guard(m_lock);
            const bool shareCookie = req.get_header_value("Cookie").find("BDCLND=share") != std::string::npos;
            const bool solved = m_captchaCode.empty() || (req.get_param_value("input") == m_captchaCode &&
                                                          req.get_param_value("vcode") == m_token);
            const std::string fids = req.get_param_value("fid_list");
            const std::string file = fids.size() > 2 ? fids.substr(1, fids.size() - 2) : std::string();
            bool shared = false;
            for (const auto& [link, sharedFile] : m_shares)
                shared = shared || sharedFile == file;
            if (shareCookie && solved && shared && fids == "[" + file + "]") {
                res.set_content(R"({"errno":0,"request_id":1,"dlink":")" + Url("/hop/2/" + file) + "\"}",
                                "application/json");
                return;
            }
            m_token = "tok" + std::to_string(++m_captchaRounds);
            res.set_content(R"({"errno":-19,"img":")" + Url("/captcha.jpg") + R"(","vcode":")" + m_token +
                                "\"}",
                            "application/json");
        });
        m_http.Get("/captcha.jpg", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("JPEG-CAPTCHA", "image/jpeg");
        });
        m_http.Get("/rest/2.0/pcs/file", [](const httplib::Request& req, httplib::Response& res) {
            if (req.get_param_value("method") == "plantcookie")
                res.set_header("Set-Cookie", "pcsett=planted; Path=/");
            res.set_content("{}", "application/json");
        });
    }

    std::map<std::string, std::string> m_shares; // share link id -> file
    std::string m_captchaCode;
    std::string m_token;
    int m_captchaRounds = 0;

    struct File
    {
        std::string content;
        Mode mode;
    };

    void Serve(const httplib::Request& req, httplib::Response& res)
    {
        File file;
        {
            std::lock_guard guard(m_lock);
            const auto it = m_files.find(req.matches[1]);
            if (it == m_files.end()) {
                res.status = 404;
                res.set_content("missing", "text/plain");
                return;
            }
            file = it->second;
            auto hidden = m_lengthHidden.find(req.matches[1]);
            if (req.method == "HEAD" && hidden != m_lengthHidden.end() && hidden->second > 0) {
                --hidden->second;
                // A chunked answer: the status without a length.
                res.set_chunked_content_provider("application/octet-stream",
                                                 [](std::size_t, httplib::DataSink& sink) {
                                                     sink.done();
                                                     return true;
                                                 });
                return;
            }
        }
        if (file.mode == Mode::GetNotFound && req.method == "GET") {
            res.status = 404;
            res.set_content("<html>not found</html>", "text/html");
            return;
        }
        // The library would slice the answer by the request's range a second time: ranges are ours.
        const_cast<httplib::Request&>(req).ranges.clear();
        std::size_t start = 0;
        const std::string range = req.get_header_value("Range");
        if (!range.empty() && file.mode != Mode::IgnoreRange) {
            start = file.mode == Mode::WrongRange ? 0 : std::stoul(range.substr(range.find('=') + 1));
            if (start >= file.content.size() && !file.content.empty()) {
                res.status = 416;
                res.set_content("range not satisfiable", "text/plain");
                return;
            }
            res.status = 206;
            res.set_header("Content-Range", "bytes " + std::to_string(start) + "-" +
                                                std::to_string(file.content.size() - 1) + "/" +
                                                std::to_string(file.content.size()));
        } else {
            res.status = 200;
        }
        const std::string name = req.matches[1];
        auto body = std::make_shared<std::string>(file.content.substr(start));
        res.set_content_provider(
            body->size(), "application/octet-stream",
            [this, body, name, start](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                return Send(name, *body, start, offset, sink);
            });
    }

    bool Send(const std::string& name, const std::string& body, std::size_t start, std::size_t offset,
              httplib::DataSink& sink)
    {
        std::size_t end = body.size();
        {
            std::unique_lock guard(m_lock);
            const auto gated = m_gates.find(name);
            if (!m_gateOpen && gated != m_gates.end()) {
                const std::size_t gate = gated->second > start ? gated->second - start : 0;
                if (offset >= gate) {
                    ++m_waitingAtGate;
                    m_gateChanged.notify_all();
                    // Hold the answer; a client that gives up closes the socket and the write fails.
                    m_gateChanged.wait_for(guard, std::chrono::seconds(20), [&] { return m_gateOpen; });
                    --m_waitingAtGate;
                    if (!m_gateOpen)
                        return false;
                } else {
                    end = std::min(end, gate);
                }
            }
        }
        const std::size_t size = std::min<std::size_t>(end - offset, 64 * 1024);
        return sink.write(body.data() + offset, size);
    }

    LoopbackHttpServer m_http;
    mutable std::mutex m_lock;
    std::condition_variable m_gateChanged;
    std::map<std::string, File> m_files;
    std::map<std::string, std::size_t> m_gates;
    std::map<std::string, int> m_lengthHidden;
    bool m_gateOpen = true;
    int m_waitingAtGate = 0;
};

} // namespace ravelo::test

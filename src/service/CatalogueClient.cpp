#include "service/CatalogueClient.h"

#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/TextConvert.h"
#include "platform/Translate.h"
#include "service/CGameInfoObj.h"
#include "service/CGameList.h"
#include "service/CUserInfo.h"
#include "service/CacheTextCodec.h"
#include "service/CatalogueMessages.h"
#include "service/CatalogueRequests.h"
#include "service/HttpTransport.h"
#include "service/ServiceEndpoints.h"
#include "settings/AppPaths.h"
#include "settings/UserIdentity.h"

#include <random>

namespace ravelo {
namespace {

constexpr long kListTimeoutSeconds = 10;
constexpr long kDetailTimeoutSeconds = 5;
constexpr long kRegisterTimeoutSeconds = 10;
constexpr long kDownFileTimeoutSeconds = 10;
constexpr std::size_t kMaxCacheIdLength = 128;

constexpr const char* kUnreadableAnswer = TrNoop("服务器应答无法解析");
constexpr const char* kWrongAnswer = TrNoop("服务器应答内容有误");
constexpr const char* kNoSuchGame = TrNoop("游戏不存在");
constexpr const char* kUnusableDetail = TrNoop("游戏信息无法读取");

/// One catalogue exchange; reason gets a short Chinese text when it fails.
bool Exchange(const std::string& body, long timeoutSeconds, std::string& answer, std::string& reason,
              long* httpStatus = nullptr)
{
    const ServiceEndpoints endpoints = ServiceEndpoints::Load();
    TransferError error;
    const bool ok = HttpPost(answer, endpoints.ApiUrl, "", body, timeoutSeconds, &error);
    if (httpStatus)
        *httpStatus = error.httpStatus;
    if (ok)
        return true;
    reason = error.Describe();
    if (reason.empty())
        reason = Tr("请求失败");
    return false;
}

std::function<void()> PostFailure(WindowHandle window, std::string reason)
{
    return [window, reason = std::move(reason)] {
        PostMessage(window, UM_REQUEST_FAILED, 0, std::make_unique<std::string>(reason));
    };
}

using BodyMaker = std::function<std::string(const RequestParams&)>;

/// The worker of the game-list, search and special-topic slots.
RequestSlot::Work ListWork(BodyMaker makeBody, std::uint32_t readyMessage)
{
    return [makeBody = std::move(makeBody), readyMessage](const RequestParams& p) -> std::function<void()> {
        std::string body;
        try {
            body = makeBody(p);
        } catch (const TextConversionError&) {
            return PostFailure(p.window, Tr("搜索文字编码有误"));
        }
        std::string answer, reason;
        if (!Exchange(body, kListTimeoutSeconds, answer, reason))
            return PostFailure(p.window, reason);
        auto list = std::make_shared<std::unique_ptr<CGameList>>(std::make_unique<CGameList>());
        try {
            if (!(*list)->Decode(answer))
                return PostFailure(p.window, Tr(kUnreadableAnswer));
        } catch (const std::exception& e) {
            DebugOutput(std::string("game list not decodable: ") + e.what());
            return PostFailure(p.window, Tr(kWrongAnswer));
        }
        (*list)->request = p;
        return [window = p.window, page = p.page, readyMessage, list] {
            PostMessage(window, readyMessage, static_cast<std::uintptr_t>(page), std::move(*list));
        };
    };
}

bool IsSafeCacheId(const std::string& gameid)
{
    if (gameid.empty() || gameid.size() > kMaxCacheIdLength)
        return false;
    for (const char c : gameid) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        c == '-' || c == '_';
        if (!ok)
            return false;
    }
    return true;
}

/// Decodes text into a fresh detail record; null when it is not JSON or a value does not convert.
std::unique_ptr<CGameInfoObj> DecodeDetail(const std::string& text, std::string& reason)
{
    auto detail = std::make_unique<CGameInfoObj>();
    try {
        if (detail->Decode(text))
            return detail;
        reason = Tr(kUnreadableAnswer);
    } catch (const std::exception& e) {
        DebugOutput(std::string("game detail not decodable: ") + e.what());
        reason = Tr(kWrongAnswer);
    }
    return nullptr;
}

/// Decodes a detail answer and keeps it only when it holds the game that was asked for: an answer
/// whose status says failure or that carries no game gives its message (or "游戏不存在"), one about
/// another game is unusable.
std::unique_ptr<CGameInfoObj> DecodeGameDetail(const std::string& text, const std::string& gameid,
                                               std::string& reason)
{
    std::unique_ptr<CGameInfoObj> detail = DecodeDetail(text, reason);
    if (!detail)
        return nullptr;
    const std::string& answered = detail->gameinfo.gameid;
    if (detail->status < 0 || answered.empty()) {
        reason = detail->msg.empty() ? Tr(kNoSuchGame) : detail->msg;
        return nullptr;
    }
    if (answered != gameid) {
        DebugOutput("game detail of '" + answered + "' in the answer for '" + gameid + "'");
        reason = Tr(kUnusableDetail);
        return nullptr;
    }
    return detail;
}

/// The message of a refusal answer (an error status whose body is the API's JSON), else "".
std::string RefusalMessage(const std::string& body)
{
    CGameInfoObj refusal;
    try {
        if (!body.empty() && refusal.Decode(body))
            return refusal.msg;
    } catch (const std::exception&) {
    }
    return std::string();
}

} // namespace

CatalogueClient::CatalogueClient() : m_featured(std::make_shared<const CFeatured>())
{
    // Workers post through the message registry until this client is gone, so the registry (created
    // on first use) must come into being first and with it outlive the client.
    PostMessage(0, 0);
}

CatalogueClient::~CatalogueClient()
{
    Shutdown();
}

void CatalogueClient::Shutdown()
{
    m_gameList.Shutdown();
    m_search.Shutdown();
    m_special.Shutdown();
    m_home.Shutdown();
}

bool CatalogueClient::StartGameList(WindowHandle window, int category, int emulator, int order, int language,
                                    int page, int pageSize)
{
    RequestParams params;
    params.window = window;
    params.category = category;
    params.emulator = emulator;
    params.order = order;
    params.language = language;
    params.page = page;
    params.pageSize = pageSize;
    return m_gameList.TryStart(params, ListWork(
                                           [](const RequestParams& p) {
                                               return GameListBody(p.page, p.pageSize, p.category, p.emulator,
                                                                   p.order, p.language);
                                           },
                                           UM_GAMELIST_READY));
}

bool CatalogueClient::StartSearch(WindowHandle window, int category, int emulator, int order, int language,
                                  int page, const std::string& keyword, int pageSize)
{
    RequestParams params;
    params.window = window;
    params.category = category;
    params.emulator = emulator;
    params.order = order;
    params.language = language;
    params.page = page;
    params.keyword = keyword;
    params.pageSize = pageSize;
    return m_search.TryStart(params, ListWork(
                                         [](const RequestParams& p) {
                                             return SearchBody(p.page, p.pageSize, p.category, p.emulator,
                                                               p.keyword, p.order, p.language);
                                         },
                                         UM_SEARCH_READY));
}

bool CatalogueClient::StartSpecialTopic(WindowHandle window, int topic, int page, int pageSize)
{
    RequestParams params;
    params.window = window;
    params.topic = topic;
    params.page = page;
    params.pageSize = pageSize;
    return m_special.TryStart(
        params, ListWork([](const RequestParams& p) { return SpecialTopicBody(p.page, p.pageSize, p.topic); },
                         UM_SPECIAL_READY));
}

bool CatalogueClient::StartHomePage(WindowHandle window)
{
    RequestParams params;
    params.window = window;
    return m_home.TryStart(params, [this](const RequestParams& p) -> std::function<void()> {
        std::string answer, reason;
        if (!Exchange(HomePageBody(), kListTimeoutSeconds, answer, reason))
            return PostFailure(p.window, reason);
        // Decoded into a fresh record and published whole: decoding into the one held would append
        // to its lists, and a reader could see it half-filled.
        auto featured = std::make_shared<CFeatured>();
        try {
            if (!featured->Decode(answer))
                return PostFailure(p.window, Tr(kUnreadableAnswer));
        } catch (const std::exception& e) {
            DebugOutput(std::string("home page not decodable: ") + e.what());
            return PostFailure(p.window, Tr(kWrongAnswer));
        }
        {
            std::lock_guard guard(m_featuredLock);
            m_featured = std::move(featured);
        }
        return [window = p.window] { PostMessage(window, UM_HOME_READY); };
    });
}

std::shared_ptr<const CFeatured> CatalogueClient::Featured() const
{
    std::lock_guard guard(m_featuredLock);
    return m_featured;
}

std::string CatalogueClient::GameDetailCachePath(const std::string& gameid)
{
    if (!IsSafeCacheId(gameid))
        return std::string();
    return DataFolder + "GameInfoCache/" + gameid + "/" + gameid + ".gameinfo";
}

bool CatalogueClient::FetchGameDetail(CGame& game, bool useCache, bool copyDetail, WindowHandle window,
                                      std::string* failure)
{
    std::string reason;
    const std::string cachePath = useCache ? GameDetailCachePath(game.gameid) : std::string();
    std::unique_ptr<CGameInfoObj> detail;

    std::string cached;
    if (!cachePath.empty() && ReadWholeFile(cachePath, cached)) {
        detail = DecodeGameDetail(DecodeCacheText(cached), game.gameid, reason);
        if (!detail)
            DebugOutput("ignoring unusable detail cache " + cachePath);
    }
    if (!detail) {
        std::string answer;
        long status = 0;
        if (Exchange(GameDetailBody(game.gameid), kDetailTimeoutSeconds, answer, reason, &status)) {
            DebugOutput(answer);
            detail = DecodeGameDetail(answer, game.gameid, reason);
        } else if (status != 0) {
            // A refusal (404 for a game the catalogue does not have) says why in its message.
            if (const std::string message = RefusalMessage(answer); !message.empty())
                reason = message;
        }
        if (!detail) {
            if (failure)
                *failure = reason;
            return false;
        }
        if (!cachePath.empty()) {
            CreateFolderChain(cachePath);
            if (!WriteFileAtomically(cachePath, EncodeCacheText(answer)))
                DebugOutput("cannot write detail cache " + cachePath);
        }
    }

    const CGameInfo& info = detail->gameinfo;
    if (copyDetail) {
        // The program-side fields are the page's own; the detail has none to give.
        std::string localFolder = std::move(game.localFolder), localFile = std::move(game.localFile);
        game = static_cast<const CGame&>(info);
        game.localFolder = std::move(localFolder);
        game.localFile = std::move(localFile);
        PostMessage(window, UM_DETAIL_LOADED);
    }
    PostMessage(window, UM_DETAIL_DESCRIPTION, 0, std::make_unique<std::u16string>(info.description));
    for (const std::string& screen : info.screens)
        if (!screen.empty()) // a null entry is no picture
            PostMessage(window, UM_DETAIL_SCREENSHOT, 0, std::make_unique<std::string>(screen));
    return true;
}

bool CatalogueClient::EnsureRegistered()
{
    std::lock_guard guard(m_registerLock);
    UserIdentity identity;
    if (identity.IsRegistered())
        return true;

    std::random_device entropy;
    std::uniform_int_distribution<long> digits(10000000L, 999999999L);
    std::string answer, reason;
    if (!Exchange(RegisterBody(digits(entropy)), kRegisterTimeoutSeconds, answer, reason)) {
        DebugOutput("registration failed: " + reason);
        return false;
    }
    DebugOutput(answer);
    if (answer.empty())
        return false;
    CUserInfo user;
    try {
        // An answer that is not JSON issued nothing; storing its empty values would only hide that.
        if (!user.Decode(answer))
            return false;
    } catch (const std::exception& e) {
        DebugOutput(std::string("registration answer not decodable: ") + e.what());
        return false;
    }
    identity.Uid = user.uid;
    identity.Ticket = PercentEncode(user.ticket);
    identity.Save();
    return true;
}

bool CatalogueClient::FetchDownloadAddresses(CDownLoadUrl& out, const std::string& gameid)
{
    std::string answer, reason;
    for (int attempt = 0;; ++attempt) {
        if (!EnsureRegistered())
            return false;
        UserIdentity identity;
        long status = 0;
        answer.clear();
        if (Exchange(DownFileBody(identity.Uid, identity.Ticket, gameid), kDownFileTimeoutSeconds, answer,
                     reason, &status))
            break;
        DebugOutput("download addresses of " + gameid + " failed: " + reason);
        // The service no longer knows our identity (its users were reset): register once more.
        if (status != 403 || attempt > 0)
            return false;
        identity.Uid.clear();
        identity.Ticket.clear();
        identity.Save();
    }
    DebugOutput("\n" + answer + "\n");
    if (answer.empty())
        return false;
    try {
        out.Decode(answer);
    } catch (const std::exception& e) {
        DebugOutput(std::string("download addresses not decodable: ") + e.what());
        return false;
    }
    return true;
}

} // namespace ravelo

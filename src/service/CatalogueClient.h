#pragma once

#include "platform/Messages.h"
#include "service/CDownLoadUrl.h"
#include "service/CFeatured.h"
#include "service/CGame.h"
#include "service/RequestSlot.h"

#include <memory>
#include <mutex>
#include <string>

namespace ravelo {

/// The program's client of the catalogue web API. List requests run on workers, one slot per kind of
/// list; results reach the asking window as posted messages (CatalogueMessages.h) whose records the
/// window then owns. Endpoints and the user identity are read from the settings file on each request.
/// Knows nothing of windows beyond their handles.
class CatalogueClient
{
public:
    CatalogueClient();
    /// Shutdown().
    ~CatalogueClient();
    CatalogueClient(const CatalogueClient&) = delete;
    CatalogueClient& operator=(const CatalogueClient&) = delete;

    /// Any thread but a worker's; idempotent. Waits for the list workers (each ends within its request
    /// time-out); later list requests are refused. Detail and address fetches run on their callers'
    /// threads, which their owners end.
    void Shutdown();

    // List requests. Any thread (normally the UI thread). Each returns at once: false when the slot's
    // previous request still runs (the new one is dropped, nothing is posted), true when started. The
    // worker posts the ready message with the page as wParam and a CGameList, or UM_REQUEST_FAILED.

    bool StartGameList(WindowHandle window, int category, int emulator, int order, int language, int page,
                       int pageSize = 40);
    /// keyword: the search text (narrow, ANSI code page).
    bool StartSearch(WindowHandle window, int category, int emulator, int order, int language, int page,
                     const std::string& keyword, int pageSize = 40);
    bool StartSpecialTopic(WindowHandle window, int topic, int page, int pageSize = 40);
    /// Posts UM_HOME_READY once Featured() holds the new answer.
    bool StartHomePage(WindowHandle window);

    /// Any thread. The last home-page answer (an empty record before the first). A new answer replaces
    /// the record as a whole, so a holder's snapshot never changes under it.
    std::shared_ptr<const CFeatured> Featured() const;

    /// Runs on the caller's worker thread and blocks up to 5 s. Fetches the detail of game.gameid, from
    /// the disk cache when useCache is set and a good copy is there (storing a fresh answer there
    /// otherwise). On success: with copyDetail the detail's CGame fields are written into game and
    /// UM_DETAIL_LOADED is posted; then UM_DETAIL_DESCRIPTION and one UM_DETAIL_SCREENSHOT per
    /// screenshot go to window. The caller keeps game alive and untouched until this returns. An answer
    /// whose status is negative, that holds no game or that holds another game than game.gameid is a
    /// failure (and is not cached). On failure posts nothing and returns false; failure (when given)
    /// receives a short Chinese reason: the answer's message, "游戏不存在", "游戏信息无法读取", ...
    bool FetchGameDetail(CGame& game, bool useCache, bool copyDetail, WindowHandle window,
                         std::string* failure = nullptr);

    /// Any thread; blocks up to 10 s. True when the settings file holds a user identity or the service
    /// issued one now (it is then saved).
    bool EnsureRegistered();

    /// Any thread; blocks up to 20 s. Registers if needed, then asks for the download addresses of gameid
    /// and decodes them into out (a fresh record). True when the exchange gave a non-empty answer (also
    /// when it held nothing usable); false when registration or the exchange failed or a value could
    /// not be converted.
    bool FetchDownloadAddresses(CDownLoadUrl& out, const std::string& gameid);

    /// Cache file of a game's detail under DataFolder, or "" when gameid is not safe as a file name
    /// (only ASCII letters, digits, '-' and '_' are; such games are never cached).
    static std::string GameDetailCachePath(const std::string& gameid);

private:
    mutable std::mutex m_featuredLock;
    std::shared_ptr<const CFeatured> m_featured;
    std::mutex m_registerLock; // one registration at a time

    // Last, so that they are destroyed (their workers joined) before what the workers use.
    RequestSlot m_gameList;
    RequestSlot m_search;
    RequestSlot m_special;
    RequestSlot m_home;
};

} // namespace ravelo

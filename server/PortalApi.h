#pragma once

#include "server/AccountStore.h"
#include "server/AnswerAddresses.h"
#include "server/ApiAnswer.h"
#include "server/CatalogueStore.h"

namespace ravelo::server {

/// The portal's endpoints beside the catalogue API: the emulator list, the update answer and the
/// page-view counter. Called on HTTP worker threads; no state of its own. Never throws: a failing
/// database gives a 500 with {"status":-1,"msg":...}.
class PortalApi
{
public:
    PortalApi(CatalogueStore& catalogue, AccountStore& accounts)
        : m_catalogue(catalogue), m_accounts(accounts)
    {
    }

    /// One object with an array per system key, every key present (empty arrays included).
    ApiAnswer EmulatorList(const AnswerAddresses& addresses);
    /// {"version","downloadurl","description"} of the newest program release.
    ApiAnswer UpdateInfo(const AnswerAddresses& addresses);
    /// Keeps one page view; the fields are cut to a sane length and made valid text first.
    ApiAnswer CountPageView(PageView view);

    /// Longest text kept per page-view field.
    static constexpr std::size_t MaxFieldBytes = 1024;

private:
    CatalogueStore& m_catalogue;
    AccountStore& m_accounts;
};

} // namespace ravelo::server

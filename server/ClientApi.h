#pragma once

#include "server/AccountStore.h"
#include "server/AnswerAddresses.h"
#include "server/ApiAnswer.h"
#include "server/CatalogueStore.h"
#include "server/FormBody.h"

#include <string>

namespace ravelo::server {

/// The catalogue API behind "/clientapi/": one URL-encoded body in, one JSON answer out. Called on
/// HTTP worker threads, any number at once; holds no state of its own. Never throws: a body it
/// cannot read is a 400, an unknown game or topic a 404, a bad ticket a 403, a failing database a
/// 500, each with {"status":-1,"msg":...}.
class ClientApi
{
public:
    ClientApi(CatalogueStore& catalogue, AccountStore& accounts)
        : m_catalogue(catalogue), m_accounts(accounts)
    {
    }

    ApiAnswer Handle(const std::string& body, const AnswerAddresses& addresses);

    /// Largest page a list request may ask for; larger sizes are cut to it.
    static constexpr int MaxPageSize = 200;
    /// Longest suggestion and contact, in characters.
    static constexpr std::size_t MaxSuggestionChars = 500;
    static constexpr std::size_t MaxContactChars = 100;

private:
    ApiAnswer GameList(const FormBody& form, const AnswerAddresses& addresses);
    ApiAnswer SpecialInfo(const FormBody& form, const AnswerAddresses& addresses);
    ApiAnswer HomePage(const AnswerAddresses& addresses);
    ApiAnswer GameInfo(const FormBody& form, const AnswerAddresses& addresses);
    ApiAnswer Register(const FormBody& form);
    ApiAnswer DownFile(const FormBody& form, const AnswerAddresses& addresses);
    /// Keeps a user's suggestion: "content" (1 to 500 characters) and "contact" (up to 100).
    ApiAnswer AddSuggestion(const FormBody& form);

    CatalogueStore& m_catalogue;
    AccountStore& m_accounts;
};

} // namespace ravelo::server

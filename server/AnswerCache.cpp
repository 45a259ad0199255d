#include "server/AnswerCache.h"

#include "server/CatalogueRevision.h"
#include "server/FormBody.h"
#include "server/SqliteError.h"

#include <mutex>
#include <optional>

namespace ravelo::server {

namespace {

/// The reads whose answers depend on nothing but the catalogue and the request.
bool IsCacheable(const std::string& model, const std::string& action)
{
    return model == "appstore" &&
           (action == "gamelist" || action == "specialinfo" || action == "pc_index" || action == "gameinfo");
}

/// The request's identity: the address the client used, then every field but the client's own
/// parameters (its version and language do not change the answer), in name order. Names and values
/// are decoded text without control bytes, so the separators cannot be forged.
std::optional<std::string> KeyFor(const std::string& body, const AnswerAddresses& addresses)
{
    const auto form = FormBody::Parse(body);
    if (!form || !IsCacheable(form->Get("model"), form->Get("action")))
        return std::nullopt;
    std::string key = addresses.Base();
    key += '\n';
    for (const auto& [name, value] : form->Fields()) {
        if (name == "clientparams")
            continue;
        key += name;
        key += '=';
        key += value;
        key += '\n';
    }
    return key;
}

} // namespace

AnswerCache::AnswerCache(ConnectionPool& pool, std::size_t maxBytes) : m_pool(pool), m_maxBytes(maxBytes) {}

std::int64_t AnswerCache::Revision()
{
    try {
        auto db = m_pool.Acquire();
        return CatalogueRevision::Read(*db);
    } catch (const SqliteError&) {
        return -1;
    }
}

ApiAnswer AnswerCache::Answer(const std::string& body, const AnswerAddresses& addresses,
                              const std::function<ApiAnswer()>& build)
{
    const std::optional<std::string> key = KeyFor(body, addresses);
    if (!key)
        return build();
    const std::int64_t revision = Revision();
    if (revision < 0)
        return build();
    {
        std::shared_lock lock(m_lock);
        if (revision == m_revision) {
            const auto found = m_answers.find(*key);
            if (found != m_answers.end())
                return {200, *found->second};
        }
    }

    ApiAnswer answer = build();
    if (answer.status != 200)
        return answer;
    const std::size_t size = key->size() + answer.body.size();
    std::unique_lock lock(m_lock);
    // Another revision empties the cache. Lookups need the revision they have just read, and the
    // answer was built after its revision was read, so what is kept is never older than its key.
    if (revision != m_revision) {
        m_answers.clear();
        m_bytes = 0;
        m_revision = revision;
    }
    if (size > m_maxBytes)
        return answer;
    if (m_bytes + size > m_maxBytes) {
        m_answers.clear();
        m_bytes = 0;
    }
    if (m_answers.emplace(*key, std::make_shared<const std::string>(answer.body)).second)
        m_bytes += size;
    return answer;
}

std::size_t AnswerCache::Size() const
{
    std::shared_lock lock(m_lock);
    return m_answers.size();
}

} // namespace ravelo::server

#pragma once

#include "server/AnswerAddresses.h"
#include "server/ApiAnswer.h"
#include "server/ConnectionPool.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <shared_mutex>
#include <string>
#include <unordered_map>

namespace ravelo::server {

/// The catalogue API's read answers (game lists, searches, topics, details, the home page) kept by
/// request, so that a household's clients browsing the same pages cost one JSON build per page. A
/// request is known by the address the client used (pictures are named after it) and its fields
/// but the client's own parameters. Every answer is kept for one catalogue revision: a change to the
/// catalogue, by whatever writer, makes the next request build afresh. Called on HTTP worker
/// threads, any number at once; lookups share a lock.
class AnswerCache
{
public:
    /// maxBytes bounds the kept answers (keys and bodies); when a new one would pass it, the cache
    /// starts empty again.
    AnswerCache(ConnectionPool& pool, std::size_t maxBytes = DefaultMaxBytes);

    /// The answer to a catalogue API body: the kept one when the request is a cacheable read whose
    /// answer was built for the current revision, else build()'s, kept when it is a 200.
    ApiAnswer Answer(const std::string& body, const AnswerAddresses& addresses,
                     const std::function<ApiAnswer()>& build);

    /// Answers kept now (for tests and diagnostics).
    std::size_t Size() const;

    static constexpr std::size_t DefaultMaxBytes = 64 * 1024 * 1024;

private:
    using Body = std::shared_ptr<const std::string>;

    /// The current revision, or -1 when it cannot be read (nothing is cached then).
    std::int64_t Revision();

    ConnectionPool& m_pool;
    const std::size_t m_maxBytes;
    mutable std::shared_mutex m_lock;
    std::int64_t m_revision = -1;
    std::size_t m_bytes = 0;
    std::unordered_map<std::string, Body> m_answers;
};

} // namespace ravelo::server

#pragma once

#include "server/SqliteDatabase.h"

#include <cstdint>

namespace ravelo::server {

/// A counter in the catalogue database that every change to the catalogue's own tables (games,
/// topics, advertisements, emulators, settings and their reference tables; not accounts or page
/// views) moves on, kept by triggers so that every writer counts: the importer, a catalogue builder,
/// a hand edit in sqlite3. Cached answers are valid for one value of it.
class CatalogueRevision
{
public:
    /// Adds the counter and its triggers to a catalogue that lacks them; safe to call on every open.
    /// Throws SqliteError.
    static void Install(SqliteDatabase& db);

    /// The current value. Throws SqliteError (also when Install never ran on this database).
    static std::int64_t Read(SqliteDatabase& db);
};

} // namespace ravelo::server

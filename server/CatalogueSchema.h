#pragma once

namespace ravelo::server {

class SqliteDatabase;

/// The catalogue's schema version, kept in the settings table under "schema".
inline constexpr const char* CatalogueSchemaVersion = "1";

/// Creates every table and index of the catalogue in an empty database; throws SqliteError.
void CreateCatalogueSchema(SqliteDatabase& db);
/// Creates the table of users' suggestions when it is missing; throws SqliteError.
void CreateSuggestionTable(SqliteDatabase& db);

} // namespace ravelo::server

#pragma once

#include "server/ImportManifest.h"

#include <string>
#include <vector>

namespace ravelo::server {

/// What an import did, or why it did nothing.
struct ImportResult
{
    int added = 0;
    int updated = 0;
    std::vector<ManifestProblem> problems; ///< refused lines; nothing was imported when not empty
    std::string error;                     ///< a failure that is no line's fault (database, disk)
};

/// Adds or updates games in a catalogue folder from a manifest and the archives and pictures beside
/// it (see ImportManifest), so that a household or a club can host its own games without writing
/// SQL. Every line is checked first (ids, the catalogue's systems, categories and languages, readable
/// zip archives with safe entry names, pictures that stay inside the manifest's folder); one bad line
/// refuses the whole manifest, with every bad line and its reason, and changes nothing. Checksums and
/// sizes are computed here. Files are copied beside their final names and put in place once the
/// database has taken the rows; a running server sees the change on its next request.
class CatalogueImporter
{
public:
    explicit CatalogueImporter(std::string catalogueFolder);

    /// Runs on the calling thread. True when every game was imported.
    bool Import(const std::string& manifestPath, ImportResult& result);

private:
    std::string m_root;
};

} // namespace ravelo::server

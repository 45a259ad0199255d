#pragma once

#include "store/DbOperation.h"

#include <future>
#include <optional>
#include <variant>

namespace ravelo {

/// One queued command. Owned by the queue, then by the worker, which destroys it (and with it the
/// argument) after the command has completed.
struct DbCommand
{
    /// Rows read by a load, kept apart until the command completes so that a batch that has to
    /// be run again does not hand the caller any row twice.
    using Rows = std::variant<std::monostate, std::vector<Gameinfo>, std::vector<LocalGame>, DownloadMap,
                              std::vector<EmulatorInfo>>;

    DbOperation Operation = DbOperation::RunStatement;
    DbArgument Argument;
    std::optional<DbOutput> Output;
    Rows ReadRows;
    std::optional<std::promise<bool>> Completion; // set for a waiting caller
};

} // namespace ravelo

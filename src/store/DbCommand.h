#pragma once

#include "store/DbOperation.h"

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace ravelo {

/// One queued command. Owned by the queue, then by the worker, which destroys it (and with it the
/// argument) once the command has completed.
struct DbCommand
{
    /// The argument as the queue holds it: records on the heap, so that a queued command stays
    /// small whatever the kind of record (thousands may wait during an import).
    using Payload = std::variant<std::monostate, std::unique_ptr<Gameinfo>, std::unique_ptr<LocalGame>,
                                 std::unique_ptr<DownloadInfo>, std::unique_ptr<EmulatorInfo>, std::string>;

    /// Moves a posted argument into its queued form.
    static Payload Box(DbArgument&& argument);

    DbOperation Operation = DbOperation::RunStatement;
    Payload Argument;
    std::optional<DbOutput> Output;               // a load's destination, filled by the worker
    std::optional<std::promise<bool>> Completion; // set for a waiting caller
};

} // namespace ravelo

#pragma once

#include <string>

namespace ravelo {

/// Why DownloadManager::AddTask took a game or refused it.
enum class AddTaskResult
{
    Added,
    NotStarted,    // the engine was not started, or is shutting down
    Busy,          // the task lock was not had within 500 ms
    AlreadyAdded,  // the game already has a task
    NoGamesFolder, // no games folder is set
    BadGameId,     // the game's id cannot be a folder name
    BadSystemName, // the game's system short name is missing or cannot be a folder name
};

/// The text a user sees for a refusal (empty for Added). Every refusal's text lives here.
std::string AddTaskFailureText(AddTaskResult result);

} // namespace ravelo

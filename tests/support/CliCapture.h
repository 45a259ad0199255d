#pragma once

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace ravelo::test {

/// What one run of a program wrote to stdout and stderr, and its exit code (-1: it did not end by
/// itself within the limit, or could not start).
struct CliCapture
{
    int code = -1;
    std::string out;
    std::string err;
};

/// Runs a program as a user would (argv, this process's environment, no shell) with stdout and stderr
/// going to files, and reads them once it has ended. A run still going after `limit` is killed.
inline CliCapture RunCapturing(const std::string& executable, std::vector<std::string> args,
                               std::chrono::seconds limit = std::chrono::seconds(60))
{
    TempFolder folder;
    const std::string outPath = folder / "out.txt", errPath = folder / "err.txt";
    args.insert(args.begin(), executable);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    CliCapture capture;
    if (!started)
        return capture;
    auto exit = std::async(std::launch::async, [pid] {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    });
    if (exit.wait_for(limit) != std::future_status::ready)
        ::kill(pid, SIGKILL);
    const int status = exit.get();
    capture.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    capture.out = ReadText(outPath);
    capture.err = ReadText(errPath);
    return capture;
}

} // namespace ravelo::test

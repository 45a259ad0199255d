#pragma once

#include "EmuCommandLine.h"
#include "EmuManifest.h"
#include "KeyFileSummary.h"

#include <string>
#include <vector>

namespace ravelo::demoemu {

/// One run of the demo emulator apart from its window: records the start, reads the manifest, finds the
/// game, reads the key and settings files, and on Finish writes the settings change. Lives on the main
/// thread.
class EmuSession
{
public:
    static constexpr int kGameMissing = 2;
    static constexpr int kBadArguments = 64;
    static constexpr const char* kLaunchLog = "launches.log";

    /// folder: the program's own folder (with '/'); workingFolder: where it was started (with '/').
    EmuSession(std::string folder, std::string workingFolder);

    /// Main thread. Appends the start to launches.log, then reads everything. False when the program
    /// must end at once: exitCode and message (Chinese, for stderr) say why.
    bool Start(const std::vector<std::string>& args, const char* headlessEnv, const char* exitCodeEnv,
               int& exitCode, std::string& message);

    /// Main thread. Writes the settings change; the exit code to end with (the chosen one). A settings
    /// file that cannot be written is reported in message but does not change the code.
    int Finish(std::string& message);

    const EmuCommandLine& CommandLine() const { return m_commandLine; }
    const EmuManifest& Manifest() const { return m_manifest; }
    const KeyFileSummary& Keys() const { return m_keys; }
    /// The game file found, or empty when the emulator runs without one.
    const std::string& GamePath() const { return m_gamePath; }
    /// The game's file name without folder and extension ("Contra" for /g/Contra.nes).
    std::string GameName() const;
    /// Any thread. What a headless run prints: the game, system, input kind and each bound pad, one
    /// "name: value" line each.
    std::string Describe() const;
    /// How often the settings file says this emulator started before this run.
    int Launches() const { return m_launches; }

private:
    void AppendLaunchLog(const std::vector<std::string>& args);
    std::string InFolder(const std::string& name) const;

    std::string m_folder;
    std::string m_workingFolder;
    EmuCommandLine m_commandLine;
    EmuManifest m_manifest;
    KeyFileSummary m_keys;
    std::string m_gamePath;
    int m_launches = 0;
};

} // namespace ravelo::demoemu

#include "EmuSession.h"

#include "EmuSettingsFile.h"
#include "platform/FileSystem.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace ravelo::demoemu {

EmuSession::EmuSession(std::string folder, std::string workingFolder)
    : m_folder(std::move(folder)), m_workingFolder(std::move(workingFolder))
{
}

bool EmuSession::Start(const std::vector<std::string>& args, const char* headlessEnv, const char* exitCodeEnv,
                       int& exitCode, std::string& message)
{
    AppendLaunchLog(args);
    m_commandLine = EmuCommandLine::Parse(args, headlessEnv, exitCodeEnv);
    if (!m_commandLine.error.empty()) {
        exitCode = kBadArguments;
        message = m_commandLine.error;
        return false;
    }
    // Without a manifest the program still runs as a plain viewer of its game.
    const std::string manifestPath = m_folder + EmuManifest::kFileName;
    if (FileExists(manifestPath) && !EmuManifest::Read(manifestPath, m_manifest, message)) {
        exitCode = kBadArguments;
        return false;
    }
    if (!m_commandLine.game.empty()) {
        m_gamePath = EmuCommandLine::ResolveGame(m_commandLine.game, m_folder, m_workingFolder);
        if (m_gamePath.empty()) {
            exitCode = kGameMissing;
            message = "找不到游戏文件: " + m_commandLine.game;
            return false;
        }
    }
    m_keys = KeyFileSummary::Read(InFolder(m_manifest.keyFile), m_manifest.keyFormat);
    m_launches = EmuSettingsFile::Launches(InFolder(m_manifest.settingsFile));
    return true;
}

int EmuSession::Finish(std::string& message)
{
    const std::string settings = InFolder(m_manifest.settingsFile);
    if (!settings.empty())
        EmuSettingsFile::RecordLaunch(settings, GameName(), message);
    return m_commandLine.exitCode;
}

std::string EmuSession::GameName() const
{
    std::string name = m_gamePath.substr(m_gamePath.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

std::string EmuSession::Describe() const
{
    std::string text = "游戏: " + (m_gamePath.empty() ? std::string("未载入游戏") : GameName()) + "\n";
    text += "机种: " + m_manifest.system + "\n";
    text += "输入方式: " + (m_keys.found ? m_keys.InputKindText() : std::string("未找到按键文件")) + "\n";
    for (const BoundPad& pad : m_keys.pads)
        text += "手柄: 玩家 " + std::to_string(pad.player) + " " + pad.identity + "\n";
    return text;
}

void EmuSession::AppendLaunchLog(const std::vector<std::string>& args)
{
    std::string line = m_workingFolder.size() > 1 && m_workingFolder.back() == '/'
                           ? m_workingFolder.substr(0, m_workingFolder.size() - 1)
                           : m_workingFolder;
    for (const std::string& arg : args)
        line += '\t' + arg;
    line += '\n';
    // One write on an append descriptor, so lines of programs started together do not mix.
    const int fd = ::open((m_folder + kLaunchLog).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0 || !WriteAll(fd, line.data(), line.size()))
        std::fprintf(stderr, "无法写入启动记录: %s%s\n", m_folder.c_str(), kLaunchLog);
    if (fd >= 0)
        ::close(fd);
}

std::string EmuSession::InFolder(const std::string& name) const
{
    return name.empty() ? std::string() : m_folder + name;
}

} // namespace ravelo::demoemu

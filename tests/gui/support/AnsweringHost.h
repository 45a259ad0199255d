#pragma once

#include "download/DownloadAddresses.h"
#include "download/DownloadPrompts.h"
#include "emulator/LaunchHost.h"

#include <mutex>
#include <string>
#include <vector>

namespace ravelo::test {

/// Answers the engines' questions the way a test wants, and records the messages it was shown.
class AnsweringHost final : public DownloadPrompts, public LaunchHost
{
public:
    int source = kSourceServers;
    int inputKind = 2;
    int disc = 0;
    bool yes = true;

    int ChooseSource(WindowHandle, const DownloadInfo&, int offered) override
    {
        return (offered & source) ? source : kSourceDialogClosed;
    }
    bool AskCaptcha(const std::string&, std::string&) override { return false; }
    bool AskYesNo(const std::string& text, const std::string&, WindowHandle) override
    {
        Record(text);
        return yes;
    }
    void ShowMessage(const std::string& text, const std::string&, WindowHandle) override { Record(text); }
    int ChooseInputKind(WindowHandle) override { return inputKind; }
    int ChooseDisc(int, WindowHandle) override { return disc; }

    std::vector<std::string> Shown() const
    {
        std::lock_guard guard(m_lock);
        return m_shown;
    }

private:
    void Record(const std::string& text)
    {
        std::lock_guard guard(m_lock);
        m_shown.push_back(text);
    }

    mutable std::mutex m_lock;
    std::vector<std::string> m_shown;
};

} // namespace ravelo::test

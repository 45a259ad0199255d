#pragma once

#include "download/DownloadPrompts.h"
#include "emulator/LaunchHost.h"

namespace ravelo {

class PromptBroker;

/// The windows' answers to the engines' questions: the download source and the cloud drive's
/// captcha (download engine), yes/no and message boxes, the emulator's setup with its progress, the
/// control method and the disc (registry and launcher). The engines ask from their threads; every
/// dialog is shown by the UI thread through the prompt broker, one after another, and a question
/// asked while the program ends is answered "closed". Any thread.
class GuiPrompts final : public DownloadPrompts, public LaunchHost
{
public:
    explicit GuiPrompts(PromptBroker& broker);

    /// The window that owns dialogs asked without one (the captcha): the main window.
    void SetDefaultOwner(WindowHandle owner) { m_defaultOwner = owner; }

    int ChooseSource(WindowHandle parent, const DownloadInfo& task, int offeredSources) override;
    bool AskCaptcha(const std::string& imagePath, std::string& code) override;

    bool AskYesNo(const std::string& text, const std::string& caption, WindowHandle parent) override;
    void ShowMessage(const std::string& text, const std::string& caption, WindowHandle parent) override;
    bool RunPackageSetup(const EmulatorInfo& record, const std::string& title, WindowHandle parent,
                         SetupWorker& worker) override;
    int ChooseInputKind(WindowHandle owner) override;
    int ChooseDisc(int count, WindowHandle owner) override;

private:
    WindowHandle Owner(WindowHandle given) const;

    PromptBroker& m_broker;
    WindowHandle m_defaultOwner = 0;
};

} // namespace ravelo

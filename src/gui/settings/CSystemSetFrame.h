#pragma once

#include "gui/common/CSkinDialog.h"
#include "gui/settings/SettingsView.h"
#include "settings/AppSettings.h"

#include <memory>
#include <string>

namespace UiLib {
class COptionUI;
}

namespace ravelo {

class CSelfUpdate;
class EmulatorHost;
class EmulatorPage;
class Engines;

/// The settings window ("系统设置"): general settings, the emulators of every system, the runtime
/// components and the games folder with the program's updates, on four tabs. It shows the settings
/// file and, at each tab switch and when it closes, writes back only the keys the user changed, so a
/// value another process wrote meanwhile survives. The games folder and the autostart entry take
/// effect when it closes. Emulator work that blocks runs off the UI thread (EmulatorPage). UI thread.
///
/// The main window opens it on Btn_Set, and at its first "windowinit" when RomPath is empty:
///     CSystemSetFrame settings({engines, prompts});
///     settings.SetFirstRun(AppSettings().RomPath.empty());   // first start only
///     if (settings.ShowModalOver(GetHWND(), Tr("系统设置")) == kDialogExitForUpdate) Close(...);
class CSystemSetFrame : public CSkinDialog
{
public:
    struct Parts
    {
        Engines& engines;
        EmulatorHost& host;            // the registry's questions (the shell's GuiPrompts)
        std::string settingsFile = {}; // empty: the program's settings file
        std::string program = {};      // the autostart entry's program; empty: this executable
    };

    explicit CSystemSetFrame(Parts parts);
    /// Waits for an emulator task still running (the window refuses to close while one runs).
    ~CSystemSetFrame() override;

    /// Before showing: opens on the download-and-update page and proposes a games folder when none
    /// is set.
    void SetFirstRun(bool firstRun) { m_firstRun = firstRun; }

    /// The emulator page (tests and the tour drive it).
    EmulatorPage* Emulators() { return m_emulators.get(); }
    /// Selects a tab (0 to 3) as a click on its option does.
    void SelectTab(int index);

    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;

protected:
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;

private:
    void ShowSettings();
    void ShowComponents();
    void ProposeGamesFolder();
    void PickGamesFolder();
    void OpenGamesFolder();
    void InstallComponent(const QString& button);
    SettingsOptions ReadOptions();
    AppSettings EditedSettings();
    /// Writes the keys that changed since the file was last read or written here.
    void SaveSettings();
    void RequestClose();
    /// Applies the games folder, the settings and the autostart entry; once, as the window closes.
    void Finish();
    UiLib::COptionUI* Option(const char* name);
    void Say(const std::string& text);

    Parts m_parts;
    std::string m_settingsFile;
    AppSettings m_saved;         // what the file held when last read or written by this window
    std::string m_savedPadCombo; // the same for "Set/PadExitCombo"
    std::string m_romPath;       // the chosen games folder, with a trailing '/'
    std::unique_ptr<EmulatorPage> m_emulators;
    std::unique_ptr<CSelfUpdate> m_selfUpdate;
    bool m_firstRun = false;
    bool m_finished = false;
};

} // namespace ravelo

#pragma once

#include "gui/settings/EmulatorTaskRunner.h"
#include "store/EmulatorInfo.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace UiLib {
class CControlUI;
class CListUI;
class CPaintManagerUI;
class IDialogBuilderCallback;
struct TNotifyUI;
} // namespace UiLib

namespace ravelo {

class EmulatorHost;
class Engines;
struct EmulatorTaskDone;

/// The settings window's emulator page: the systems' tree, the emulators of the chosen system with
/// their commands (install, set up stand-alone, update, open the folder, restore the key files,
/// remove), and the resets of every emulator's pad or keyboard files. Registry work that blocks runs
/// on an EmulatorTaskRunner; its questions go to the emulator host. UI thread.
class EmulatorPage
{
public:
    struct Parts
    {
        Engines& engines;
        EmulatorHost& host;
        /// The control method the window shows now ("1", "2", or anything else when none is chosen).
        std::function<std::string()> handleType;
        /// Writes what the user changed in the window, so a stand-alone run reads the chosen method.
        std::function<void()> saveSettings;
    };

    EmulatorPage(Parts parts, UiLib::CPaintManagerUI& manager, WindowHandle window,
                 UiLib::IDialogBuilderCallback* builder);
    ~EmulatorPage();
    EmulatorPage(const EmulatorPage&) = delete;
    EmulatorPage& operator=(const EmulatorPage&) = delete;

    /// Loads the registry on the worker, then asks the server for a fresh list.
    void Start();
    /// "itemclick" and "click" of the page's controls and the reset buttons; false for others.
    bool Notify(UiLib::TNotifyUI& msg);
    /// The worker's UM_SETTINGS_TASK_DONE.
    void OnTaskDone(const EmulatorTaskDone& done);
    /// The registry's kEmulatorListRefreshed.
    void OnListRefreshed();

    /// Whether the window may close: not while a task runs; a stand-alone emulator is ended after the
    /// user agreed.
    bool ConfirmClose();

    /// Shows a system's emulators (also for the tour and tests); the tree selects its node.
    void ShowSystem(int system);
    /// The item of an emulator on the page, or null.
    UiLib::CControlUI* Item(const std::string& emulatorId) const;
    bool IsLoaded() const { return m_loaded; }
    bool IsBusy() const { return m_runner.IsBusy(); }

private:
    struct Shown
    {
        EmulatorInfo record;
        UiLib::CControlUI* item = nullptr;
    };

    void Fill();
    void AddItem(std::size_t index);
    void ShowInstalledState(const Shown& shown);
    const Shown* ShownFor(UiLib::CControlUI* sender) const;
    void OnItemCommand(const QString& command, const Shown& shown, UiLib::CControlUI* button);
    void Install(const EmulatorInfo& record);
    void RunStandalone(const EmulatorInfo& record);
    void RestoreDefaults(const EmulatorInfo& record);
    void ResetEveryEmulator(int kind);
    bool RefuseWhileRunning();
    bool StartTask(EmulatorTask task, const std::string& id, std::function<bool()> work);
    void Say(const char* text);
    UiLib::CControlUI* Find(const QString& name) const;

    Parts m_parts;
    UiLib::CPaintManagerUI& m_manager;
    WindowHandle m_window;
    UiLib::IDialogBuilderCallback* m_builder;
    EmulatorTaskRunner m_runner;
    UiLib::CListUI* m_list = nullptr;
    int m_system = 0;
    bool m_loaded = false;
    std::vector<Shown> m_shown;
};

} // namespace ravelo

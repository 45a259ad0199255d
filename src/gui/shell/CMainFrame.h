#pragma once

#include "platform/Messages.h"
#include "uilib/CTrayIcon.h"
#include "uilib/WindowImplBase.h"

#include <functional>
#include <memory>

namespace ravelo {

class CDownLoadFrameNew;
class CGame;
class CatalogueWorker;
class CEmuFilterUI;
class CGameListPage;
class CKeyMapTipsFrame;
class CSelfUpdate;
class CatalogueActions;
class Engines;
class GameStarter;
class GuiPrompts;
class PadCountWatcher;
class PromptBroker;

/// The program's single top-level window: the title bar with the search box and the program's
/// buttons, the left bar with its system filters, the five pages in one tab layout, the tray icon.
/// It routes the pages' messages, keeps the download and pad counts on its buttons (posted by the
/// engines when they change), and decides what closing means (tray, running downloads). UI thread.
class CMainFrame : public UiLib::WindowImplBase
{
public:
    struct Parts
    {
        Engines& engines;
        GuiPrompts& prompts;
        GameStarter& starter;
        CatalogueActions& actions;
        PromptBroker& broker;
    };

    explicit CMainFrame(Parts parts);
    ~CMainFrame() override;

    /// Creates the window (title "Ravelo", centred, shown) and runs until it closes; returns the code
    /// it closed with.
    int Run();

    /// Shows the window again (from the tray, or for a second start of the program) and activates it.
    void ShowAndActivate();
    /// The close request of the close button (not forced) and of the tray menu's exit (forced):
    /// hide to the tray when IsTray is "1" and not forced; otherwise ask when downloads run; close.
    void RequestClose(bool forced);

    /// The page window hosted for a frame name, or null.
    UiLib::CWindowWnd* Page(const QString& frameName);
    CGameListPage* CategoryPage();
    CGameListPage* SearchPage();

    QString GetSkinFile() override;
    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;
    UiLib::CControlUI* CreateControl(const QString& className) override;

protected:
    QString GetWindowClassName() const override;
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;

private:
    std::unique_ptr<UiLib::CWindowWnd> MakePage(const QString& frameName);
    void StartSearch();
    void OnSystemOption(UiLib::CControlUI* option);
    void OnSwitchChanged(UiLib::TNotifyUI& msg);
    void ShowCategoryPage();
    /// The detail window of a game, modal over parent.
    void OpenGameDetail(const CGame& game, WindowHandle parent);
    /// Shows a page of the left bar's first entry: the home page, or a topic opened from it.
    void ShowHomePage(int tab);
    void SelectCategoryEntry();
    /// The settings window, modal; firstRun opens it on the games folder.
    void OpenSettings(bool firstRun);
    void SetButtonCount(const QString& button, const char* label, int count);
    void HideToTray();
    void ShowGameTips(bool show);
    /// Ends the windows the main window owns besides its pages; before it closes for real.
    void CloseOwnedWindows();

    Parts m_parts;
    /// Detail and suggestion exchanges; made before the pages, which open detail windows.
    std::unique_ptr<CatalogueWorker> m_catalogueWorker;
    UiLib::CTrayIcon m_tray;
    std::unique_ptr<CDownLoadFrameNew> m_downloadCentre;
    std::unique_ptr<CKeyMapTipsFrame> m_tips;
    std::unique_ptr<CSelfUpdate> m_selfUpdate;
    std::unique_ptr<PadCountWatcher> m_padCount;
    CEmuFilterUI* m_classification = nullptr;
    CEmuFilterUI* m_myGames = nullptr;
    UiLib::CControlUI* m_tabs = nullptr;
};

} // namespace ravelo

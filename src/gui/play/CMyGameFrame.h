#pragma once

#include "gui/play/FileManagerReveal.h"
#include "store/Gameinfo.h"
#include "store/LocalGame.h"
#include "uilib/WindowImplBase.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace ravelo {

class CDownLoadGameItemUI;
class CDownLoadGameLayoutUI;
class CLocalGameItemUI;
class CLocalGameLayoutUI;
class Engines;
class GameFileRemover;
class GameStarter;
class PictureSlots;

/// The my-games page: the installed catalogue games and the games imported from disk, one tab each,
/// filled from the my-games store's snapshot on the UI thread and kept current by the download engine's
/// and the importers' messages. From each game the user starts it, opens its folder, deletes it and, for
/// an imported game, renames it; files and folders dropped on the imported list are imported for the
/// system the list shows.
///
/// The main window's frame factory makes it for "MyGameFrame" (CWindowContainerUI creates it as a child
/// window). The main window posts it UM_EMULATOR_FILTER (wParam the system option's index in the left
/// bar, payload std::uintptr_t grid: 1 installed, 2 local) and gives its handle to the download engine
/// (DownloadManager::SetInstalledGamesWindow) before starting it. The page posts UM_SELECT_MYGAME_GRID
/// (wParam 1 or 2) to the main window when its tab changes, and forwards the launcher's
/// kGameLaunchState (UM_SHOW_KEYMAP_TIPS) to it unchanged. UI thread only.
class CMyGameFrame : public UiLib::WindowImplBase
{
public:
    /// engines and starter must outlive the page; mainWindow receives the page's messages (0: none).
    CMyGameFrame(Engines& engines, GameStarter& starter, WindowHandle mainWindow);
    ~CMyGameFrame() override;

    QString GetSkinFile() override { return QStringLiteral("skin\\xmls\\MyGameDialog.xml"); }
    UiLib::CControlUI* CreateControl(const QString& className) override;
    void Notify(UiLib::TNotifyUI& msg) override;

    /// The system numbers the lists show (0: all).
    int InstalledFilter() const { return m_filter[kInstalled]; }
    int LocalFilter() const { return m_filter[kLocal]; }
    /// The items shown, for tests and the tour.
    CDownLoadGameItemUI* InstalledItem(const std::string& gameId) const;
    CLocalGameItemUI* LocalItem(const std::string& filePath) const;
    std::size_t InstalledCount() const { return m_installedItems.size(); }
    std::size_t LocalCount() const { return m_localItems.size(); }
    /// Where "open folder" goes; tests point it at a bus of their own.
    FileManagerReveal& Reveal() { return m_reveal; }

protected:
    QString GetWindowClassName() const override { return QStringLiteral("MyGameFrame"); }
    void InitWindow() override;
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;

private:
    enum List
    {
        kInstalled = 0,
        kLocal = 1,
    };

    void OnFilter(std::size_t optionIndex, std::uintptr_t grid);
    void Refill(List list);
    void AddInstalled(const Gameinfo& game);
    void AddLocal(const LocalGame& game);
    void OnInstalledArrived(const Gameinfo& game);
    void OnLocalArrived(const LocalGame& game);
    void OnItemClick(UiLib::CControlUI* sender);
    void OnDrop(const std::vector<std::string>& paths);
    void Play(const CDownLoadGameItemUI& item);
    void Play(const CLocalGameItemUI& item);
    void OpenFolder(const CDownLoadGameItemUI& item);
    void OpenFolder(const CLocalGameItemUI& item);
    void Delete(CDownLoadGameItemUI& item);
    void Delete(CLocalGameItemUI& item);
    void Rename(CLocalGameItemUI& item);
    void ShowCounts();
    void ShowDropHint();
    int Ask(const char* text);
    void Tell(const char* text);

    Engines& m_engines;
    GameStarter& m_starter;
    WindowHandle m_mainWindow;
    FileManagerReveal m_reveal;
    std::unique_ptr<PictureSlots> m_pictures;
    std::unique_ptr<GameFileRemover> m_remover;

    CDownLoadGameLayoutUI* m_pInstalledView = nullptr;
    CLocalGameLayoutUI* m_pLocalView = nullptr;
    std::array<int, 2> m_filter{};
    // Each fill posts a fence with its generation; imports that arrive before it are in the fill.
    std::array<std::uint64_t, 2> m_generation{};
    std::array<std::uint64_t, 2> m_fenceSeen{};
    std::map<std::string, CDownLoadGameItemUI*> m_installedItems; // by game id
    std::map<std::string, CLocalGameItemUI*> m_localItems;        // by file path
    bool m_started = false;
};

} // namespace ravelo

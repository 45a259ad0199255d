#pragma once

#include "gui/common/CSkinDialog.h"
#include "service/CGame.h"

#include <memory>
#include <string>
#include <vector>

namespace ravelo {

class CLoopBanner;
class CatalogueActions;
class Engines;
class CatalogueWorker;
class PictureSlots;

/// The detail window of a catalogue game: cover, titles, facts, rating, the install or start button
/// following the game's download state, up to eight screenshots, the description and the detail
/// banner of the home page's answer. It opens with what the list knew of the game (from a banner,
/// only its id) and fills in the rest when the detail arrives from the fetcher's worker; closing it
/// never waits for the network. Modal over the main window, titled "游戏信息". UI thread.
class CGameInfoFrameNew : public CSkinDialog
{
public:
    /// All but game must outlive the window. useCache: the detail may come from the disk cache.
    CGameInfoFrameNew(Engines& engines, CatalogueActions& actions, CatalogueWorker& worker, CGame game,
                      bool useCache = true);
    ~CGameInfoFrameNew() override;

    /// Shows the window modally over owner; returns once it is closed.
    int ShowModalOver(WindowHandle owner);

    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;
    UiLib::CControlUI* CreateControl(const QString& className) override;

    const CGame& Game() const { return m_game; }
    int State() const { return m_state; }
    /// The width of the lit stars shown.
    int ShownStarWidth() const { return m_starWidth; }
    bool HasDetail() const { return m_detailLoaded; }
    const std::vector<std::string>& Screenshots() const { return m_screens; }
    CLoopBanner* Banner() const { return m_banner; }

protected:
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;

private:
    void ShowGame();
    void ShowState(int state);
    void AddScreenshot(const std::string& address);

    Engines& m_engines;
    CatalogueActions& m_actions;
    CatalogueWorker& m_worker;
    CGame m_game;
    bool m_useCache;
    bool m_detailLoaded = false;
    bool m_listening = false;
    int m_state = 0;
    int m_starWidth = 0;
    std::vector<std::string> m_screens;
    std::unique_ptr<PictureSlots> m_pictures;
    CLoopBanner* m_banner = nullptr;
};

} // namespace ravelo

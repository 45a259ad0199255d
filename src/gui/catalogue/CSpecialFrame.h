#pragma once

#include "gui/catalogue/CGameListPage.h"
#include "gui/catalogue/GameTileTracker.h"
#include "uilib/WindowImplBase.h"

#include <memory>
#include <string>

namespace ravelo {

class CFlipUI;
class CGameList;

/// The games of one special topic, page by page. Opened by the main window (UM_OPEN_SPECIAL, wParam
/// the topic number, payload its title); the same topic again keeps the list and the page the user
/// left it at, another topic starts at page 1. Every answer carries the topic and page it was asked
/// for: one for another topic or page than the page now wants is never shown (the wanted one is asked
/// for again). The back button returns to the home page through the main window. A child window of
/// the main window's tab layout; UI thread.
class CSpecialFrame : public UiLib::WindowImplBase
{
public:
    explicit CSpecialFrame(CataloguePageContext context);
    ~CSpecialFrame() override;

    QString GetSkinFile() override;
    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;
    UiLib::CControlUI* CreateControl(const QString& className) override;

    int Topic() const { return m_topic; }
    int CurrentPage() const { return m_page; }
    bool IsLoading() const { return m_loading; }
    bool IsLoaded() const { return m_loaded; }
    /// The tiles in their order.
    std::vector<CGameItemUI*> Tiles() const;

protected:
    QString GetWindowClassName() const override;
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;

private:
    void Open(int topic, const std::u16string& title);
    void Request();
    void ShowList(std::unique_ptr<CGameList> list);
    void ShowFailure();

    CataloguePageContext m_context;
    std::unique_ptr<GameTileTracker> m_tracker;
    int m_topic = 0;
    int m_page = 1;
    int m_total = 0;
    bool m_loaded = false;
    bool m_loading = false;
    bool m_askedAgain = false;

    UiLib::CContainerUI* m_view = nullptr;
    CFlipUI* m_flip = nullptr;
    UiLib::CControlUI* m_loadingOverlay = nullptr;
    UiLib::CControlUI* m_failedOverlay = nullptr;
};

} // namespace ravelo

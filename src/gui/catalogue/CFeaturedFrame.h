#pragma once

#include "gui/catalogue/CGameListPage.h"
#include "gui/catalogue/GameTileTracker.h"
#include "service/CFeatured.h"
#include "uilib/WindowImplBase.h"

#include <memory>

namespace ravelo {

class CLoopBanner;
class CWeekHotSpecialUI;

/// The home page: the catalogue's front page from one home-page answer (the banner, the featured
/// game, the topic strip, this week's hot games, the genre charts, new and recommended games). It
/// asks once when it opens; a failed answer shows the failure overlay, and a click on it asks again.
/// A topic opens through the main window (UM_SHOW_SPECIAL); tiles and banner games open the detail
/// window through the context. The banner rotates only while the page is shown. A child window of
/// the main window's tab layout; UI thread.
class CFeaturedFrame : public UiLib::WindowImplBase
{
public:
    explicit CFeaturedFrame(CataloguePageContext context);
    ~CFeaturedFrame() override;

    QString GetSkinFile() override;
    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;
    UiLib::CControlUI* CreateControl(const QString& className) override;

    bool IsLoading() const { return m_loading; }
    bool IsFailed() const { return m_failed; }
    /// Whether an answer fills the page.
    bool IsFilled() const { return m_featured != nullptr; }
    CLoopBanner* Banner() const { return m_banner; }
    CWeekHotSpecialUI* Topics() const { return m_topics; }
    const GameTileTracker& Tiles() const { return *m_tracker; }

protected:
    QString GetWindowClassName() const override;
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;

private:
    void Request();
    void Fill();
    void FillView(const QString& name, const RecordVector<CGame>& games, int most);
    void OpenTopic(int index);
    void OpenBannerGame(int index);

    CataloguePageContext m_context;
    std::shared_ptr<const CFeatured> m_featured;
    std::unique_ptr<GameTileTracker> m_tracker;
    bool m_loading = false;
    bool m_failed = false;

    CLoopBanner* m_banner = nullptr;
    CWeekHotSpecialUI* m_topics = nullptr;
    UiLib::CControlUI* m_content = nullptr;
    UiLib::CControlUI* m_loadingOverlay = nullptr;
    UiLib::CControlUI* m_failedOverlay = nullptr;
};

} // namespace ravelo

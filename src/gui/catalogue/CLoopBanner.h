#pragma once

#include "service/CAd.h"
#include "uilib/CContainerUI.h"

#include <vector>

namespace ravelo {

class PictureSlots;

/// The rotating banner: one picture page per advertisement in its tab layout `TL_Banner` and one dot
/// per page in `Hl_BannerIndex` (placed along its bottom edge). It moves to the next page every
/// 3000 ms; the rotation stops while the pointer is over it and while it is paused (its page or the
/// program hidden). A click on a dot shows that page; a click on a page acts by the page's
/// advertisement: a web address opens in the desktop's browser, a game reaches the window as a
/// "click" from the banner with the page's index in wParam; anything else does nothing. Tag
/// LoopBanner. UI thread.
class CLoopBanner : public UiLib::CContainerUI
{
public:
    static constexpr UiLib::TInterfaceName<CLoopBanner> kInterface{"CLoopBanner"};
    static constexpr unsigned kRotateTimer = 2000;
    static constexpr unsigned kRotateMs = 3000;

    ~CLoopBanner() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    /// Replaces the pages with one per advertisement, asking pictures for each page's `icon`.
    void SetAds(const std::vector<CAd>& ads, PictureSlots& pictures);
    const CAd* AdAt(int index) const;
    int PageCount() const { return static_cast<int>(m_ads.size()); }
    int CurrentPage() const;
    void ShowPage(int index);
    /// Paused while the window that shows the banner is hidden.
    void SetPaused(bool paused);
    /// Whether the rotation timer runs.
    bool IsRotating() const;
    /// What a click on the current page does (also what the pointer's click does).
    void ActivateCurrent();

    void DoEvent(UiLib::TEventUI& event) override;
    void DoInit() override;
    void SetPos(QRect rc, bool needInvalidate = true) override;

private:
    void UpdateTimer();
    UiLib::CContainerUI* Pages() const;
    UiLib::CContainerUI* Dots() const;

    std::vector<CAd> m_ads;
    bool m_hovered = false;
    bool m_paused = false;
};

} // namespace ravelo

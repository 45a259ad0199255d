#pragma once

#include "uilib/CVerticalLayoutUI.h"

#include <chrono>

namespace ravelo {

/// The "loading" overlay of a page. SetVisible(true) starts it, but the control appears only once
/// "delaytime" milliseconds (default 1000) have passed, so a quick load never shows it; while shown
/// its child Lb_LoadingText cycles "加载中", "加载中 .", "加载中 . .", "加载中 . . .". SetVisible(false)
/// stops and hides it. It starts hidden. Tag Loading.
class CLoadingUI : public UiLib::CVerticalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CLoadingUI> kInterface{"CLoadingUI"};

    static constexpr unsigned kFrameTimer = 200;
    static constexpr unsigned kFrameMs = 120;

    CLoadingUI();
    ~CLoadingUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    void SetVisible(bool visible = true) override;
    /// True between SetVisible(true) and SetVisible(false), whether or not the delay has passed.
    bool IsShown() const { return m_bShown; }
    int GetDelay() const { return m_nDelayMs; }

    void DoInit() override;
    void DoEvent(UiLib::TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;

private:
    int m_nDelayMs = 1000;
    bool m_bShown = false;
    int m_nFrame = 0;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace ravelo

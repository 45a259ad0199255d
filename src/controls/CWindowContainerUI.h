#pragma once

#include "uilib/CControlUI.h"
#include "uilib/CWindowWnd.h"

#include <functional>
#include <memory>

namespace ravelo {

/// Hosts one page window inside the main window: when it initialises it creates the page named by
/// "framename" ("FeaturedFrame", "ClassificationFrame", "SearchFrame", "MyGameFrame" or
/// "SpecialFrame") as a child window, keeps it one pixel inside its own rectangle and shows or hides
/// it with itself. Any other name creates nothing. Tag WindowContainer.
class CWindowContainerUI : public UiLib::CControlUI
{
public:
    static constexpr UiLib::TInterfaceName<CWindowContainerUI> kInterface{"WindowContainerUI"};

    /// Makes the (not yet created) page window for a frame name, or null. Set by the program
    /// before its main window is built. UI thread.
    using FrameFactory = std::function<std::unique_ptr<UiLib::CWindowWnd>(const QString& frameName)>;
    static void SetFrameFactory(FrameFactory factory);
    static bool IsKnownFrameName(const QString& frameName);

    ~CWindowContainerUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    QString GetFrameName() const { return m_sFrameName; }
    /// The page window, or null when none was created.
    UiLib::CWindowWnd* GetWindow() const { return m_pWindow.get(); }

    void DoInit() override;
    void SetPos(QRect rc, bool needInvalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetAttribute(const QString& name, const QString& value) override;

private:
    void UpdateWindow();

    QString m_sFrameName;
    std::unique_ptr<UiLib::CWindowWnd> m_pWindow;
};

} // namespace ravelo

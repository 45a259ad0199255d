#pragma once

#include "uilib/WindowImplBase.h"

#include <string>

namespace ravelo {

/// The key-map tips: a small window at the right edge of the screen that shows which keys or pad
/// buttons do what in the running game's emulator. It stays on top and never takes the keyboard from
/// the emulator that has just started; closing it only hides it until the next game.
///
/// The main window makes one at start (Create, hidden) and keeps it for the run; on
/// UM_SHOW_KEYMAP_TIPS (kGameLaunchState) 1 it calls ShowForGame with the launcher's
/// GetCurrentSystem() and GetCurrentInputKind(), on 0 it calls Hide(). UI thread only.
class CKeyMapTipsFrame : public UiLib::WindowImplBase
{
public:
    CKeyMapTipsFrame() = default;

    /// Builds the window, hidden, titled "操作提示". owner 0 (recommended) keeps it on screen while the
    /// main window sits in the tray. False when the layout cannot be built.
    bool Create(WindowHandle owner = 0);
    /// Reads the tips of the system number ("125") for the input kind (1 pad, 2 keyboard) and shows
    /// them without taking the focus, at the right edge of the screen's available area. A system or
    /// kind without tips shows nothing (the window stays hidden); returns whether it shows.
    bool ShowForGame(const std::string& system, int inputKind);
    /// Hides the window (the game has ended).
    void Hide();

    /// The text shown, for the tour and tests.
    QString TipsText() const { return m_tips; }

    QString GetSkinFile() override { return QStringLiteral("skin\\xmls\\KeyMapTipsDialog.xml"); }
    void Notify(UiLib::TNotifyUI& msg) override;

protected:
    QString GetWindowClassName() const override { return QStringLiteral("KeyMapTipsFrame"); }
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;

private:
    QString m_tips;
};

} // namespace ravelo

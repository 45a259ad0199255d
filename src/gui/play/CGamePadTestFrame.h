#pragma once

#include "gui/common/CSkinDialog.h"
#include "input/PadState.h"
#include "input/PadSummary.h"

#include <QTimer>

#include <array>
#include <cstdint>
#include <optional>

namespace UiLib {
class COptionUI;
}

namespace ravelo {

class CXinputPadUI;
class InputThread;

/// The gamepad test: shows how many pads are connected, lets the user pick pad 1 to 4, lights the
/// picture of the chosen pad's buttons, triggers, cross and sticks as they are pressed, and runs its
/// motors with the triggers while "震动" is on. Pad states come from the input thread's state watch
/// (posted when they change; nothing polls); rumble requests go back to it, each bounded to a second
/// and renewed while a trigger is held, so a pad never shakes on after the window or the program goes.
/// Closing the window, switching vibrate off or picking another pad stops every motor. UI thread only.
class CGamePadTestFrame : public CSkinDialog
{
public:
    /// The input thread must outlive the window.
    explicit CGamePadTestFrame(InputThread& input);
    ~CGamePadTestFrame() override;

    /// The main window's Btn_GamePad: shows the test modally over owner, titled "手柄测试", centred; returns
    /// kDialogClosed once the user closed it (-1 when it could not be built).
    int ShowModalOver(WindowHandle owner);

    UiLib::CControlUI* CreateControl(const QString& className) override;
    void Notify(UiLib::TNotifyUI& msg) override;

    /// The pad slot shown (0 to 3), none without pads.
    std::optional<std::size_t> ShownSlot() const { return m_shown; }

protected:
    void InitWindow() override;
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;

private:
    void OnSummary(int count, const PadSummary& summary);
    void OnState(std::size_t slot, const PadState& state);
    /// Shows the slot's last state and stops the motors when the shown pad changes.
    void Show(std::optional<std::size_t> slot);
    /// Asks for the motor speeds of the shown pad's triggers (zero when vibrate is off).
    void UpdateRumble(bool renew);
    void StopWatching();

    InputThread& m_input;
    std::array<UiLib::COptionUI*, 4> m_slotOptions{};
    UiLib::COptionUI* m_pVibrate = nullptr;
    CXinputPadUI* m_pPad = nullptr;
    std::array<std::optional<PadState>, 4> m_states;
    std::optional<std::size_t> m_shown;
    std::uint16_t m_low = 0;
    std::uint16_t m_high = 0;
    WindowHandle m_watched = 0; // the handle the input thread posts pad states to
    QTimer m_renew;             // repeats the rumble request while the motors run
};

} // namespace ravelo

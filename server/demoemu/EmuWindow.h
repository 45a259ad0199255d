#pragma once

#include "PadWatcher.h"

#include <QWidget>

#include <map>
#include <set>
#include <vector>

class QLabel;

namespace ravelo::demoemu {

class EmuSession;

/// The demo emulator's window: the game large on a dark panel, the system, how the user plays, the
/// keys and pads the key file binds, and how to leave. Closes on Escape or Start+Back held together on
/// one pad. Lives on the UI thread; pad news arrives there as queued calls.
class EmuWindow : public QWidget
{
public:
    /// UI thread. session outlives the window.
    explicit EmuWindow(const EmuSession& session);

    /// UI thread. The attached pads changed; the bound-pad lines are matched again.
    void SetAttachedPads(std::vector<AttachedPad> pads);
    /// UI thread. A pad button went down or up; Start and Back down together close the window.
    void OnPadButton(int instanceId, int button, bool pressed);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowPads();

    const EmuSession& m_session;
    QLabel* m_pads = nullptr;
    std::vector<AttachedPad> m_attached;
    std::map<int, std::set<int>> m_pressed; ///< buttons held, per pad instance
};

} // namespace ravelo::demoemu

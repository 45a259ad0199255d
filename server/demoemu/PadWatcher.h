#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QObject;

namespace ravelo::demoemu {

/// One attached game controller as the pad thread saw it.
struct AttachedPad
{
    int instanceId = -1;
    std::string name;
    std::array<std::uint8_t, 16> guid{}; ///< SDL's joystick GUID, the identity launchers bind by
};

/// SDL's game-controller API on a thread of its own (SDL initialised without video). The thread waits
/// for SDL events and hands the pad list and button changes to the receiver's (Qt) thread as queued
/// calls; it never touches widgets. The destructor stops and joins the thread.
class PadWatcher
{
public:
    using PadsChanged = std::function<void(std::vector<AttachedPad>)>;
    using ButtonChanged = std::function<void(int instanceId, int button, bool pressed)>;

    /// UI thread. Starts the thread; the callbacks run on receiver's thread, never after receiver is
    /// gone. Without SDL (no controller support) the thread ends at once and nothing is reported.
    PadWatcher(QObject* receiver, PadsChanged padsChanged, ButtonChanged buttonChanged);
    ~PadWatcher();
    PadWatcher(const PadWatcher&) = delete;
    PadWatcher& operator=(const PadWatcher&) = delete;

private:
    void Run();
    void PostPads(const std::vector<AttachedPad>& pads);

    QObject* m_receiver;
    PadsChanged m_padsChanged;
    ButtonChanged m_buttonChanged;
    std::mutex m_lock;
    std::condition_variable m_started;
    bool m_ready = false;    ///< the thread has initialised SDL or given up
    bool m_sdlReady = false; ///< SDL's event queue exists, so a stop event can be pushed
    std::thread m_thread;
};

} // namespace ravelo::demoemu

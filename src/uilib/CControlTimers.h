#pragma once

#include <QObject>
#include <QPointer>

#include <optional>
#include <vector>

namespace UiLib {

class CControlUI;

/// Per-control timers of a window, run as Qt timers of the window's widget: each (control, id) pair
/// is one timer, and the widget's timer events are mapped back to it. Without a host nothing can be
/// started. UI thread only.
class CControlTimers
{
public:
    struct Timer
    {
        CControlUI* control;
        unsigned id;
    };

    ~CControlTimers();

    /// The object whose timer events carry the timers; rebinding kills the running ones.
    void SetHost(QObject* host);
    /// Starts (or restarts) a timer every elapseMs (at least 1); false without a host.
    bool Set(CControlUI* control, unsigned id, unsigned elapseMs);
    bool Kill(CControlUI* control, unsigned id);
    /// Stops every timer of the control.
    void Kill(CControlUI* control);
    void KillAll();
    bool Has(CControlUI* control, unsigned id) const;
    /// The timer behind one of the host's timer events, if it is one of ours.
    std::optional<Timer> Find(int qtTimerId) const;

private:
    struct Entry
    {
        Timer timer;
        int qtTimer;
    };

    QPointer<QObject> m_host;
    std::vector<Entry> m_entries;
};

} // namespace UiLib

#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace UiLib {
class CWindowWnd;
}

namespace ravelo {

class Engines;

/// What a stop of the window tour gets: the engines of a program running against the demo catalogue,
/// and a camera. The tour runs on the UI thread; a stop opens its windows, brings them into the state
/// it shows, takes their pictures and closes them again.
class TourContext
{
public:
    virtual ~TourContext() = default;
    virtual Engines& GetEngines() = 0;
    /// Saves the window as OUT/<name>.png at its size, and as OUT/<name>-max.png at the size of a
    /// maximised window on a 1920×1080 screen for windows that can be resized.
    virtual void Shoot(const QString& name, UiLib::CWindowWnd& window, bool alsoMaximised = false) = 0;
    /// Runs the event loop until cond holds or the time-out passes; false then.
    virtual bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 10000) = 0;
    /// Runs the event loop for a moment so that pictures and layouts settle.
    virtual void Settle(int ms = 300) = 0;
    /// The demo catalogue server's address ("http://127.0.0.1:PORT").
    virtual std::string ServerUrl() const = 0;
};

/// One state of one window.
struct TourStop
{
    QString name;
    std::function<void(TourContext&)> run;
};

// Each area adds its stops; the tour runs them in this order.
void AddShellTourStops(std::vector<TourStop>& stops);
void AddCatalogueTourStops(std::vector<TourStop>& stops);
void AddDownloadsTourStops(std::vector<TourStop>& stops);
void AddPlayTourStops(std::vector<TourStop>& stops);
void AddSettingsTourStops(std::vector<TourStop>& stops);

} // namespace ravelo

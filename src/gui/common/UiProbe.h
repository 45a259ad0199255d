#pragma once

#include <cstddef>

class QWidget;

namespace ravelo::UiProbe {

/// Measuring points for the window benchmarks, silent unless the environment has RAVELO_UI_PROBE=1
/// (or "latency", which also samples the event loop). Each prints one line on stdout, flushed at
/// once, so that a process watching the program can time it: "probe first-paint",
/// "probe page-complete <tiles>", and with "latency" every 5 s
/// "probe latency p99=<ms> max=<ms> samples=<n>" for the UI thread's event loop. UI thread only.
bool Enabled();

/// Prints "probe first-paint" when the window paints for the first time.
void WatchFirstPaint(QWidget* window);

/// A page of tiles has its list and every picture it asked for.
void PageComplete(std::size_t tiles);

/// With RAVELO_UI_PROBE=latency: starts a 10 ms timer whose lateness is the event loop's latency
/// (it wakes the program 100 times a second, so it is not part of the idle measure).
void StartLatencySampler();

} // namespace ravelo::UiProbe

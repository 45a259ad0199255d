#pragma once

namespace UiLib {

/// Counts nested dispatches so that removed controls are destroyed only when no handler can still be
/// running inside them. UI thread.
class DispatchScope
{
public:
    explicit DispatchScope(int& depth) : m_depth(depth) { ++m_depth; }
    ~DispatchScope() { --m_depth; }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

private:
    int& m_depth;
};

} // namespace UiLib

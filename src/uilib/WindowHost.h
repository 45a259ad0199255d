#pragma once

#include <QWidget>

namespace UiLib {

class CWindowWnd;

/// The one Qt widget of a window: it hands every event to its CWindowWnd, paints through it and
/// tells it when it is destroyed. It counts the events it is handling so that the window is never
/// destroyed underneath one of them.
class WindowHost final : public QWidget
{
public:
    WindowHost(CWindowWnd* owner, QWidget* parent, Qt::WindowFlags flags);
    ~WindowHost() override;

    CWindowWnd* Owner() const { return m_owner; }
    /// True while one of this widget's events is being handled.
    bool IsHandlingEvent() const { return m_depth > 0; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CWindowWnd* m_owner;
    int m_depth = 0;
};

} // namespace UiLib

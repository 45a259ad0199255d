#pragma once

#include "uilib/CControlUI.h"
#include "uilib/CEditUI.h"
#include "uilib/WindowHost.h"
#include "uilib/WindowImplBase.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

namespace ravelo::test {

/// Drives skinned windows the way a person does: finds controls by name and clicks or types at their
/// real positions through Qt's input events, and waits for states with a time-out (never a fixed
/// sleep). UI thread only.
class GuiDriver
{
public:
    static constexpr int kTimeoutMs = 10000;

    static UiLib::CControlUI* Find(UiLib::WindowImplBase& window, const QString& name)
    {
        return window.GetPaintManager().FindControl(name);
    }

    /// A visible top-level or child skinned window of the class, or null.
    static UiLib::WindowImplBase* FindWindow(const QString& className)
    {
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* host = dynamic_cast<UiLib::WindowHost*>(widget);
            if (!host || !host->isVisible() || !host->Owner())
                continue;
            auto* window = dynamic_cast<UiLib::WindowImplBase*>(host->Owner());
            if (window && window->ClassName() == className)
                return window;
        }
        return nullptr;
    }

    /// Waits for cond with the event loop running; false after the time-out.
    static bool WaitFor(const std::function<bool()>& cond, int timeoutMs = kTimeoutMs)
    {
        return QTest::qWaitFor(cond, timeoutMs);
    }

    /// Clicks the middle of a visible control with the left button, as real mouse events.
    static bool Click(UiLib::WindowImplBase& window, const QString& name)
    {
        return ClickControl(window, Find(window, name));
    }

    static bool ClickControl(UiLib::WindowImplBase& window, UiLib::CControlUI* control)
    {
        if (!control || !window.GetWidget())
            return false;
        // Layouts are brought up to date when the window paints; a control that has just been shown
        // has its place only then.
        window.GetWidget()->repaint();
        if (!control->IsVisible())
            return false;
        QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, control->GetPos().center());
        return true;
    }

    /// Posts the press and release instead of sending them: for a click that opens a modal window,
    /// which would otherwise run its loop inside this call. The click happens in the next wait.
    static bool ClickLater(UiLib::WindowImplBase& window, const QString& name)
    {
        UiLib::CControlUI* control = Find(window, name);
        if (!control || !window.GetWidget())
            return false;
        QWidget* widget = window.GetWidget();
        widget->repaint();
        if (!control->IsVisible())
            return false;
        const QPoint at = control->GetPos().center();
        const QPoint global = widget->mapToGlobal(at);
        QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseMove, at, global, Qt::NoButton,
                                                            Qt::NoButton, Qt::NoModifier));
        QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        return true;
    }

    /// Types text into a named edit box (its native text box gets the keys).
    static bool Type(UiLib::WindowImplBase& window, const QString& name, const QString& text)
    {
        auto* edit = dynamic_cast<UiLib::CEditUI*>(Find(window, name));
        if (!edit || !Click(window, name))
            return false;
        QLineEdit* native = edit->GetNativeEdit();
        if (!native)
            return false;
        native->setFocus();
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(native, c.toLatin1());
            } else {
                // Text beyond ASCII arrives the way an input method commits it.
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QCoreApplication::sendEvent(native, &commit);
            }
        }
        return true;
    }

    /// Presses a key in a named edit box (Enter, Escape...).
    static bool Key(UiLib::WindowImplBase& window, const QString& name, Qt::Key key)
    {
        auto* edit = dynamic_cast<UiLib::CEditUI*>(Find(window, name));
        QLineEdit* native = edit ? edit->GetNativeEdit() : nullptr;
        if (!native)
            return false;
        QTest::keyClick(native, key);
        return true;
    }

    /// Runs step once a visible window of the class exists, from the event loop, so that it also runs
    /// while that window's modal loop is what is running. The returned object cancels it when it goes.
    static std::unique_ptr<QTimer> WhenShown(const QString& className,
                                             std::function<void(UiLib::WindowImplBase&)> step)
    {
        auto timer = std::make_unique<QTimer>();
        QTimer* raw = timer.get();
        QObject::connect(raw, &QTimer::timeout, [raw, className, step] {
            if (UiLib::WindowImplBase* window = FindWindow(className)) {
                raw->stop();
                step(*window);
            }
        });
        timer->start(10);
        return timer;
    }

    /// Like WhenShown, but step is tried on every tick while such a window shows, until it says it is
    /// done (for a window that must first reach a state, such as a setup popup that finishes).
    static std::unique_ptr<QTimer> WhileShown(const QString& className,
                                              std::function<bool(UiLib::WindowImplBase&)> step)
    {
        auto timer = std::make_unique<QTimer>();
        QTimer* raw = timer.get();
        QObject::connect(raw, &QTimer::timeout, [raw, className, step] {
            if (UiLib::WindowImplBase* window = FindWindow(className); window && step(*window))
                raw->stop();
        });
        timer->start(20);
        return timer;
    }

    /// Closes each setup popup once its setup has finished (its button then reads "确定").
    static std::unique_ptr<QTimer> ConfirmSetups()
    {
        auto timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [] {
            UiLib::WindowImplBase* popup = FindWindow(QStringLiteral("DownLoadPopFrame"));
            UiLib::CControlUI* button = popup ? Find(*popup, QStringLiteral("Btn_Cancel")) : nullptr;
            if (button && button->GetText() == QStringLiteral("确定"))
                Click(*popup, QStringLiteral("Btn_Cancel"));
        });
        timer->start(20);
        return timer;
    }
};

} // namespace ravelo::test

#pragma once

#include "uilib/CControlUI.h"
#include "uilib/WindowImplBase.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace ravelo::test {

/// A notification as a test records it.
struct Note
{
    QString type;
    QString sender;
    UiLib::WPARAM wParam = 0;
    UiLib::LPARAM lParam = 0;
};

/// A skinned window built from layout text, shown off screen, that records its notifications.
class TestWindow : public UiLib::WindowImplBase
{
public:
    using Factory = std::function<UiLib::CControlUI*(const QString& tag)>;

    explicit TestWindow(QString xml, Factory factory = {})
        : m_xml(std::move(xml)), m_factory(std::move(factory))
    {
    }

    /// Creates and shows the window and waits for "windowinit"; false when it could not be built.
    bool Open(int width = 400, int height = 300)
    {
        if (!Create(0, QStringLiteral("test"), UiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, width, height))
            return false;
        return QTest::qWaitFor([this] { return Saw(UiLib::DUI_MSGTYPE_WINDOWINIT); }, 5000) &&
               QTest::qWaitForWindowExposed(GetWidget());
    }

    QString GetSkinFile() override { return QStringLiteral("<test layout>"); }
    UiLib::CControlUI* CreateControl(const QString& tag) override
    {
        return m_factory ? m_factory(tag) : nullptr;
    }
    void Notify(UiLib::TNotifyUI& msg) override
    {
        notes.push_back(
            {msg.sType, msg.pSender ? msg.pSender->GetName() : QString(), msg.wParam, msg.lParam});
        if (onNotify)
            onNotify(msg);
    }

    UiLib::CControlUI* Find(const QString& name) { return m_PaintManager.FindControl(name); }
    template <typename T>
    T* FindAs(const QString& name)
    {
        return dynamic_cast<T*>(Find(name));
    }
    /// The centre of a named control, in widget coordinates.
    QPoint Centre(const QString& name)
    {
        UiLib::CControlUI* control = Find(name);
        return control ? control->GetPos().center() : QPoint(-1, -1);
    }
    /// Types of the recorded notifications, without "windowinit", "setfocus", "killfocus" and timers.
    std::vector<QString> Types() const
    {
        std::vector<QString> types;
        for (const Note& note : notes) {
            if (note.type != UiLib::DUI_MSGTYPE_WINDOWINIT && note.type != UiLib::DUI_MSGTYPE_SETFOCUS &&
                note.type != UiLib::DUI_MSGTYPE_KILLFOCUS && note.type != UiLib::DUI_MSGTYPE_TIMER)
                types.push_back(note.type + u':' + note.sender);
        }
        return types;
    }
    bool Saw(const QString& type) const
    {
        for (const Note& note : notes) {
            if (note.type == type)
                return true;
        }
        return false;
    }
    /// Lays the tree out now (as the next paint would).
    void Layout() { m_PaintManager.UpdateLayout(); }

    std::vector<Note> notes;
    std::function<void(UiLib::TNotifyUI&)> onNotify;

protected:
    QString GetWindowClassName() const override { return QStringLiteral("TestWindow"); }
    QString GetSkinXml() override { return m_xml; }

private:
    QString m_xml;
    Factory m_factory;
};

/// Wraps controls in a window layout with the skin's fonts.
inline QString Layout(const QString& body,
                      const QString& windowAttributes = QStringLiteral("size=\"400,300\""))
{
    return QStringLiteral("<Window %1><Include source=\"skin\\xmls\\Theme.xml\" />%2</Window>")
        .arg(windowAttributes, body);
}

} // namespace ravelo::test

#pragma once

#include "PlayFixture.h"

#include "emulator/CGameLauncher.h"
#include "emulator/InputKind.h"
#include "emulator/LaunchHost.h"
#include "gui/common/GuiMessages.h"
#include "gui/play/CLocalGameItemUI.h"
#include "gui/play/CMyGameFrame.h"
#include "gui/play/GameStarter.h"
#include "library/CMyGameStore.h"
#include "platform/MessageQueue.h"
#include "store/LibraryDatabase.h"
#include "uilib/WinDefines.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <memory>
#include <optional>

namespace ravelo::test {

/// Answers a launch's questions: yes to fetching the emulator, the pad as the control method.
class YesLaunchHost final : public LaunchHost
{
public:
    bool AskYesNo(const std::string&, const std::string&, WindowHandle) override { return true; }
    void ShowMessage(const std::string&, const std::string&, WindowHandle) override {}
    int ChooseInputKind(WindowHandle) override { return kInputKindGamepad; }
    int ChooseDisc(int, WindowHandle) override { return 0; }
};

/// The my-games page open as a window of its own at its layout's size, with a message queue standing
/// in for the main window.
class MyGamePageTest : public PlayFixture
{
protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_starter = std::make_unique<GameStarter>(engines().Launcher(), m_host);
    }

    void TearDown() override
    {
        m_page.reset();
        if (m_starter)
            m_starter->Shutdown();
        m_starter.reset();
        PlayFixture::TearDown();
    }

    CMyGameFrame& OpenPage()
    {
        m_page = std::make_unique<CMyGameFrame>(engines(), *m_starter, m_main.Handle());
        EXPECT_NE(m_page->Create(0, QStringLiteral("MyGameFrame"), UiLib::WS_POPUP | UiLib::WS_VISIBLE, 0, 0,
                                 0, 1078, 608),
                  0u);
        GuiDriver::WaitFor([&] { return m_page->IsWindowVisible(); });
        QCoreApplication::processEvents(); // the fills' fences
        return *m_page;
    }

    /// What the main window's left bar posts when a system is picked: the option's index and the grid.
    void Filter(std::size_t optionIndex, std::uintptr_t grid)
    {
        m_page->PostMessage(
            UM_EMULATOR_FILTER, optionIndex,
            std::make_unique<TypedPayload<std::uintptr_t>>(std::make_unique<std::uintptr_t>(grid)));
        QCoreApplication::processEvents();
    }

    /// The next message the page sent the main window with this id, waiting with the event loop
    /// running; none after the time-out.
    std::optional<Message> ToMainWindow(std::uint32_t id, int timeoutMs = GuiDriver::kTimeoutMs)
    {
        std::optional<Message> found;
        GuiDriver::WaitFor(
            [&] {
                while (std::optional<Message> message = m_main.Wait(std::chrono::milliseconds(0)))
                    if (message->id == id) {
                        found = std::move(message);
                        return true;
                    }
                return false;
            },
            timeoutMs);
        return found;
    }

    LocalGame StoreLocal(const std::string& path, const std::string& system, const std::string& code,
                         const std::u16string& name)
    {
        LocalGame game;
        game.GameName = name;
        game.FilePath = path;
        game.FileName = path.substr(path.rfind('/') + 1);
        game.EmulatorId = system;
        game.EmulatorShortName = code;
        game.Size = "1.00";
        EXPECT_TRUE(engines().MyGames().InsertLocalGame(game));
        EXPECT_TRUE(engines().Database().PostWait(DbOperation::AddLocalGame, game));
        return game;
    }

    Gameinfo StoreInstalled(const std::string& id, const std::string& system, const std::string& code)
    {
        Gameinfo game;
        game.GameId = id;
        game.GameName = u"游戏 " + std::u16string(id.begin(), id.end());
        game.EmulatorId = system;
        game.EmulatorShortName = code;
        game.Size = "2.00";
        game.FilePath = GamesRoot() + code + "/" + id + "/";
        engines().MyGames().PutInstalledGame(game);
        EXPECT_TRUE(engines().Database().PostWait(DbOperation::AddGame, game));
        return game;
    }

    /// A drop of local files onto a control of the page, as the file manager makes it.
    void Drop(const QString& control, const std::vector<std::string>& paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        mime.setUrls(urls);
        UiLib::CControlUI* target = GuiDriver::Find(*m_page, control);
        Settle(target);
        const QPoint at = target->GetPos().center();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_page->GetWidget(), &enter);
        dragOverSeen = GuiDriver::Find(*m_page, control)->IsDragOver();
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_page->GetWidget(), &drop);
    }

    QString ItemName(UiLib::CControlUI* item)
    {
        UiLib::CControlUI* name =
            item ? m_page->GetPaintManager().FindSubControlByName(item, QStringLiteral("St_GameName"))
                 : nullptr;
        return name ? name->GetText() : QString();
    }

    /// Waits until the control is laid out on screen (a page of a tab lays out once it shows).
    bool Settle(UiLib::CControlUI* control)
    {
        return control && GuiDriver::WaitFor([&] {
                   m_page->GetPaintManager().UpdateLayout();
                   return control->IsVisible() && !control->GetPos().isEmpty();
               });
    }

    bool ClickIn(UiLib::CControlUI* item, const char* button, bool later = false)
    {
        UiLib::CControlUI* control =
            item ? m_page->GetPaintManager().FindSubControlByName(item, QLatin1String(button)) : nullptr;
        if (!Settle(control))
            return false;
        if (!later)
            return GuiDriver::ClickControl(*m_page, control);
        // A click that opens a modal window: posted, so the test goes on inside its loop.
        QWidget* widget = m_page->GetWidget();
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

    YesLaunchHost m_host;
    std::unique_ptr<GameStarter> m_starter;
    MessageQueue m_main;
    std::unique_ptr<CMyGameFrame> m_page;
    bool dragOverSeen = false;
};

} // namespace ravelo::test

// Files dragged from the file manager onto a window: the control that accepts drops hears the drag
// come and go and gets the local paths on the drop; anything else is refused.

#include "support/TestWindow.h"

#include "uilib/CContainerUI.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

using namespace UiLib;
using ravelo::test::Layout;
using ravelo::test::TestWindow;

namespace {

using Types = std::vector<QString>;

const QString kPage = Layout(QStringLiteral(R"(<HorizontalLayout>
    <VerticalLayout name="games" acceptdrop="true" inset="20,20,20,20"><Label name="hint" text="拖到这里" /></VerticalLayout>
    <Control name="elsewhere" />
</HorizontalLayout>)"));

/// Sends one drag event to the window's widget the way Qt's drag and drop does; true when accepted.
class Dragger
{
public:
    Dragger(TestWindow& window, QList<QUrl> urls, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction)
        : m_widget(window.GetWidget()), m_offered(offered)
    {
        m_mime.setUrls(urls);
        m_mime.setText(QStringLiteral("dragged"));
    }
    bool Enter(QPoint at)
    {
        QDragEnterEvent event(at, m_offered, &m_mime, Qt::LeftButton, Qt::NoModifier);
        return Send(event);
    }
    bool Move(QPoint at)
    {
        QDragMoveEvent event(at, m_offered, &m_mime, Qt::LeftButton, Qt::NoModifier);
        return Send(event);
    }
    void Leave()
    {
        QDragLeaveEvent event;
        QApplication::sendEvent(m_widget, &event);
    }
    bool Drop(QPoint at)
    {
        QDropEvent event(QPointF(at), m_offered, &m_mime, Qt::LeftButton, Qt::NoModifier);
        return Send(event);
    }
    Qt::DropAction lastAction = Qt::IgnoreAction;

private:
    bool Send(QDropEvent& event)
    {
        event.setAccepted(false);
        QApplication::sendEvent(m_widget, &event);
        lastAction = event.dropAction();
        return event.isAccepted();
    }
    QWidget* m_widget;
    Qt::DropActions m_offered;
    QMimeData m_mime;
};

} // namespace

TEST(DropFiles, DroppedLocalFilesReachTheControlThatAcceptsThem)
{
    TestWindow window(kPage);
    std::vector<std::string> dropped;
    window.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_DROPFILES)
            dropped = msg.vFiles;
    };
    ASSERT_TRUE(window.Open());
    EXPECT_TRUE(window.GetWidget()->acceptDrops());
    CControlUI* games = window.Find("games");
    Dragger drag(window, {QUrl::fromLocalFile(QStringLiteral("/home/玩家/下载/魂斗罗 (J).zip")),
                          QUrl(QStringLiteral("https://example.com/game.zip")),
                          QUrl::fromLocalFile(QStringLiteral("/media/roms/mario.nes"))});

    EXPECT_TRUE(drag.Enter(window.Centre("elsewhere"))); // files: the moves that follow must come
    EXPECT_FALSE(drag.Move(window.Centre("elsewhere"))); // but not here
    EXPECT_TRUE(window.Types().empty());

    EXPECT_TRUE(drag.Move(window.Centre("hint"))); // on a label inside the target
    EXPECT_EQ(drag.lastAction, Qt::CopyAction);    // never a move: the file manager keeps its files
    EXPECT_TRUE(games->IsDragOver());
    EXPECT_TRUE(drag.Move(games->GetPos().topLeft() + QPoint(5, 5)));
    EXPECT_FALSE(drag.Move(window.Centre("elsewhere")));
    EXPECT_FALSE(games->IsDragOver());
    EXPECT_TRUE(drag.Move(window.Centre("hint")));
    EXPECT_TRUE(drag.Drop(window.Centre("hint")));
    EXPECT_FALSE(games->IsDragOver());
    EXPECT_EQ(window.Types(), (Types{"dragenter:games", "dragleave:games", "dragenter:games",
                                     "dragleave:games", "dropfiles:games"}));
    EXPECT_EQ(dropped, (std::vector<std::string>{"/home/玩家/下载/魂斗罗 (J).zip", "/media/roms/mario.nes"}));
    EXPECT_EQ(window.notes.back().wParam, 2u);

    // A drag that leaves the window takes the highlight with it.
    window.notes.clear();
    drag.Enter(window.Centre("hint"));
    drag.Leave();
    EXPECT_EQ(window.Types(), (Types{"dragenter:games", "dragleave:games"}));
    EXPECT_EQ(window.GetPaintManager().GetDropTarget(), nullptr);
}

TEST(DropFiles, ADragWithoutALocalFileIsRefusedAndSendsNothing)
{
    TestWindow window(kPage);
    ASSERT_TRUE(window.Open());
    Dragger web(window,
                {QUrl(QStringLiteral("https://example.com/game.zip")), QUrl(QStringLiteral("ftp://x/y"))});
    EXPECT_FALSE(web.Enter(window.Centre("hint")));
    EXPECT_FALSE(web.Move(window.Centre("hint")));
    EXPECT_FALSE(web.Drop(window.Centre("hint")));

    // Files whose source only lets them be moved are refused too, rather than taken away from it.
    Dragger moveOnly(window, {QUrl::fromLocalFile(QStringLiteral("/tmp/a.zip"))}, Qt::MoveAction);
    EXPECT_FALSE(moveOnly.Enter(window.Centre("hint")));
    EXPECT_FALSE(moveOnly.Drop(window.Centre("hint")));

    // Files dropped beside the target, or onto a target that is disabled, go nowhere.
    Dragger files(window, {QUrl::fromLocalFile(QStringLiteral("/tmp/a.zip"))});
    EXPECT_FALSE(files.Drop(window.Centre("elsewhere")));
    window.Find("games")->SetEnabled(false);
    files.Enter(window.Centre("hint"));
    EXPECT_FALSE(files.Move(window.Centre("hint")));
    EXPECT_FALSE(files.Drop(window.Centre("hint")));
    EXPECT_TRUE(window.Types().empty());
}

TEST(DropFiles, AWindowTakesDragsOnlyOnceAControlAcceptsThemAndForgetsATargetThatGoes)
{
    TestWindow window(Layout(QStringLiteral(R"(<HorizontalLayout>
        <VerticalLayout name="list"><Control name="row" /></VerticalLayout><Control name="other" />
    </HorizontalLayout>)")));
    ASSERT_TRUE(window.Open());
    EXPECT_FALSE(window.GetWidget()->acceptDrops()); // the desktop's drags pass this window by
    window.Find("row")->SetAcceptDrop(true);
    EXPECT_TRUE(window.GetWidget()->acceptDrops());

    // The page rebuilds its rows while files hover over one: the old row is forgotten.
    Dragger files(window, {QUrl::fromLocalFile(QStringLiteral("/tmp/a.zip"))});
    files.Enter(window.Centre("row"));
    ASSERT_EQ(window.GetPaintManager().GetDropTarget(), window.Find("row"));
    static_cast<CContainerUI*>(window.Find("list"))->Remove(window.Find("row"));
    EXPECT_EQ(window.GetPaintManager().GetDropTarget(), nullptr);
    EXPECT_FALSE(files.Drop(window.Centre("list")));
    EXPECT_EQ(window.Types(), (Types{"dragenter:row"}));
}

// The slider: its value follows the mouse, the wheel and the keys, the window hears of each move while
// dragging and of the value once a change is done, and it draws its bar up to the thumb.

#include "support/TestWindow.h"

#include "uilib/CSliderUI.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace UiLib;
using ravelo::test::Layout;
using ravelo::test::TestWindow;

namespace {

using Types = std::vector<QString>;

// 216 wide with a 16-pixel thumb: the thumb travels 200 pixels, 2 per unit of 0..100.
const QString kSliders = Layout(QStringLiteral(R"(<VerticalLayout inset="10,10,10,10" childpadding="10">
    <Slider name="volume" width="216" height="20" value="50" step="5" />
    <Slider name="upright" width="20" height="116" hor="false" max="10" />
    <Slider name="off" width="216" height="20" enabled="false" value="30" />
    <Control />
</VerticalLayout>)"));

/// A point on the horizontal slider's axis where the thumb's centre sits for a value.
QPoint At(CSliderUI* slider, int value)
{
    const QRect item = slider->GetPos();
    return QPoint(item.left() + 8 + value * 2, item.center().y());
}

std::vector<WPARAM> Values(const TestWindow& window, const QString& type)
{
    std::vector<WPARAM> values;
    for (const auto& note : window.notes) {
        if (note.type == type)
            values.push_back(note.wParam);
    }
    return values;
}

void Wheel(QWidget* widget, QPoint at, int delta)
{
    QWheelEvent wheel(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

} // namespace

TEST(Slider, DraggingReportsEveryMoveAndTheValueOnceAtTheEnd)
{
    TestWindow window(kSliders);
    ASSERT_TRUE(window.Open());
    QWidget* widget = window.GetWidget();
    auto* slider = window.FindAs<CSliderUI>("volume");
    ASSERT_TRUE(slider);
    EXPECT_EQ(slider->GetClass(), "SliderUI");
    EXPECT_TRUE(slider->TakesCaptionInput()); // a slider in a title bar drags its thumb, not the window
    EXPECT_EQ(slider->GetThumbRect(),
              QRect(slider->GetPos().left() + 100, slider->GetPos().top() + 2, 16, 16));

    // Picking the thumb up and putting it down again changes nothing.
    QTest::mouseClick(widget, Qt::LeftButton, {}, At(slider, 50) + QPoint(3, 0));
    EXPECT_EQ(slider->GetValue(), 50);
    EXPECT_TRUE(window.Types().empty());

    // A press on the track jumps there, the drag follows, the release reports once.
    QTest::mousePress(widget, Qt::LeftButton, {}, At(slider, 20));
    EXPECT_TRUE(slider->IsDragging());
    EXPECT_EQ(slider->GetValue(), 20);
    QTest::mouseMove(widget, At(slider, 30));
    QTest::mouseMove(widget, At(slider, 90) + QPoint(0, 40));  // off the control, still dragging
    QTest::mouseMove(widget, At(slider, 100) + QPoint(60, 0)); // past the end: the maximum
    QTest::mouseRelease(widget, Qt::LeftButton, {}, At(slider, 100) + QPoint(60, 0));
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_EQ(Values(window, DUI_MSGTYPE_VALUECHANGED_MOVE), (std::vector<WPARAM>{20, 30, 90, 100}));
    EXPECT_EQ(Values(window, DUI_MSGTYPE_VALUECHANGED), (std::vector<WPARAM>{100}));

    // Dragged away and back to where it started: no change to report.
    window.notes.clear();
    QTest::mousePress(widget, Qt::LeftButton, {}, At(slider, 100));
    QTest::mouseMove(widget, At(slider, 60));
    QTest::mouseMove(widget, At(slider, 100));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, At(slider, 100));
    EXPECT_EQ(Values(window, DUI_MSGTYPE_VALUECHANGED_MOVE), (std::vector<WPARAM>{60, 100}));
    EXPECT_TRUE(Values(window, DUI_MSGTYPE_VALUECHANGED).empty());
}

TEST(Slider, KeysAndTheWheelStepTheValueWithinItsRange)
{
    TestWindow window(kSliders);
    ASSERT_TRUE(window.Open());
    QWidget* widget = window.GetWidget();
    auto* slider = window.FindAs<CSliderUI>("volume");
    slider->SetFocus();
    ASSERT_TRUE(slider->IsFocused());
    QTest::keyClick(widget, Qt::Key_Right);
    QTest::keyClick(widget, Qt::Key_Right);
    QTest::keyClick(widget, Qt::Key_Left);
    EXPECT_EQ(slider->GetValue(), 55);
    QTest::keyClick(widget, Qt::Key_PageUp); // a tenth of the range
    EXPECT_EQ(slider->GetValue(), 65);
    QTest::keyClick(widget, Qt::Key_End);
    QTest::keyClick(widget, Qt::Key_Up); // already at the end: nothing to report
    EXPECT_EQ(slider->GetValue(), 100);
    QTest::keyClick(widget, Qt::Key_Home);
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_EQ(Values(window, DUI_MSGTYPE_VALUECHANGED), (std::vector<WPARAM>{55, 60, 55, 65, 100, 0}));

    window.notes.clear();
    Wheel(widget, At(slider, 0), 120);
    Wheel(widget, At(slider, 0), 240); // two notches at once
    Wheel(widget, At(slider, 0), -120);
    EXPECT_EQ(slider->GetValue(), 10);
    EXPECT_EQ(Values(window, DUI_MSGTYPE_VALUECHANGED), (std::vector<WPARAM>{5, 10, 15, 10}));
    EXPECT_TRUE(Values(window, DUI_MSGTYPE_VALUECHANGED_MOVE).empty());

    // A disabled slider takes nothing.
    auto* off = window.FindAs<CSliderUI>("off");
    window.notes.clear();
    QTest::mouseClick(widget, Qt::LeftButton, {}, At(off, 90));
    Wheel(widget, At(off, 30), 120);
    EXPECT_EQ(off->GetValue(), 30);
    EXPECT_TRUE(window.Types().empty());
}

TEST(Slider, AnUprightSliderGrowsUpwards)
{
    TestWindow window(kSliders);
    ASSERT_TRUE(window.Open());
    auto* slider = window.FindAs<CSliderUI>("upright");
    const QRect item = slider->GetPos();
    EXPECT_EQ(slider->GetThumbRect().bottom(), item.bottom()); // 0 sits at the bottom
    // The thumb travels 100 pixels, 10 per unit.
    QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, QPoint(item.center().x(), item.top() + 8 + 20));
    EXPECT_EQ(slider->GetValue(), 8);
    EXPECT_EQ(slider->GetThumbRect().top(), item.top() + 20);
    EXPECT_EQ(Values(window, DUI_MSGTYPE_VALUECHANGED), (std::vector<WPARAM>{8}));
}

TEST(Slider, TheBarFillsUpToTheThumbInTheAccent)
{
    TestWindow window(kSliders);
    ASSERT_TRUE(window.Open());
    window.Layout();
    const QImage shot = window.GetWidget()->grab().toImage();
    auto* slider = window.FindAs<CSliderUI>("volume");
    const QRect track = slider->GetTrackRect();
    EXPECT_EQ(track.height(), 4);
    const int y = track.center().y();
    EXPECT_EQ(QColor(shot.pixel(track.left() + 40, y)), QColor(0xFF, 0x6A, 0x3D));  // filled
    EXPECT_EQ(QColor(shot.pixel(track.right() - 40, y)), QColor(0xE9, 0xEC, 0xF1)); // the well
    const QRect thumb = slider->GetThumbRect();
    EXPECT_EQ(QColor(shot.pixel(thumb.center())), QColor(Qt::white));
    EXPECT_EQ(QColor(shot.pixel(thumb.center().x(), thumb.top() + 1)), QColor(0xFF, 0x6A, 0x3D)); // the ring
    auto* off = window.FindAs<CSliderUI>("off");
    EXPECT_EQ(QColor(shot.pixel(off->GetTrackRect().left() + 20, off->GetTrackRect().center().y())),
              QColor(0xCD, 0xD2, 0xDA));
}

// The diagram panel widget: its cursor overlay and the mouse signals of the inner diagram.

#include "ui/DiagramWidget.h"

#include "DiagramTestData.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <vector>

namespace lumetra {
namespace {

using namespace diagram_test;

class DiagramWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUnitSystem(UnitsSI, Units);
        Data = FlatSet(800);
        View = ViewOf(1, 702, 1);
        Widget.resize(PanelWidth, PanelHeight);
        Widget.SetSources(Data.get(), &Units, nullptr, &View);
        Widget.show();
        QCoreApplication::processEvents();
    }

    // Inner-diagram columns of row `y` that are black: the cursor inverts white. Column 0
    // lies under the left scale's axis line.
    std::vector<int> DarkColumns(int y) {
        const QImage image = Widget.grab().toImage();
        std::vector<int> columns;
        for (int x = 1; x < W; ++x)
            if (IsDark(image, InnerLeft + x, InnerTop + y))
                columns.push_back(x);
        return columns;
    }

    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::NoButton) {
        const QPointF position(x, y);
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                             ? Qt::MouseButtons(Qt::NoButton)
                                             : Qt::MouseButtons(button);
        QMouseEvent event(type, position, Widget.mapToGlobal(position), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&Widget, &event);
    }

    TPhysicalUnits Units;
    std::unique_ptr<TMeasurementData> Data;
    TViewState View;
    TDiagramWidget Widget;
};

TEST_F(DiagramWidgetTest, BoxesFollowTheWidgetSize) {
    EXPECT_EQ(Widget.InnerWidth(), W);
    EXPECT_EQ(Widget.InnerHeight(), H);
    EXPECT_EQ(Widget.Boxes().RightYAxisBox.Left, PanelWidth - 120);
    Widget.resize(1000, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(Widget.InnerWidth(), 800);
    EXPECT_EQ(Widget.InnerHeight(), 280);
}

TEST_F(DiagramWidgetTest, ExactlyOneCursorLineAfterEachMoveAndNoneAfterARepaint) {
    const int row = 150; // clear of the grid lines and the markers
    EXPECT_TRUE(DarkColumns(row).empty());
    EXPECT_TRUE(View.DiagramRepainted);

    Widget.MoveCursorLine(100);
    EXPECT_EQ(DarkColumns(row), std::vector<int>{100});
    EXPECT_FALSE(View.DiagramRepainted);
    EXPECT_EQ(View.CursorX, 100);

    Widget.MoveCursorLine(250);
    EXPECT_EQ(DarkColumns(row), std::vector<int>{250});
    EXPECT_EQ(DarkColumns(5), std::vector<int>{250}); // the whole height
    Widget.MoveCursorLine(250);
    EXPECT_EQ(DarkColumns(row), std::vector<int>{250});

    // The line inverts what lies under it: a grid line turns white there.
    const QImage image = Widget.grab().toImage();
    EXPECT_TRUE(IsColour(image, InnerLeft + 250, InnerTop + 311, 255, 255, 255));
    EXPECT_TRUE(IsColour(image, InnerLeft + 251, InnerTop + 311, 0, 0, 0));

    Widget.ShowGraphic();
    EXPECT_TRUE(DarkColumns(row).empty());
    EXPECT_TRUE(View.DiagramRepainted);
    EXPECT_FALSE(Widget.CursorLineShown());

    Widget.MoveCursorLine(10);
    EXPECT_EQ(DarkColumns(row), std::vector<int>{10});
}

TEST_F(DiagramWidgetTest, NoCursorWithoutData) {
    Data->Valid = false;
    Widget.ShowGraphic();
    Widget.MoveCursorLine(100);
    EXPECT_FALSE(Widget.CursorLineShown());
    const QImage image = Widget.grab().toImage();
    EXPECT_TRUE(IsColour(image, InnerLeft + 100, InnerTop + 150, 192, 192, 192));
}

TEST_F(DiagramWidgetTest, MouseOverTheInnerDiagramIsReported) {
    std::vector<int> moves;
    int clicks = 0;
    int doubleClicks = 0;
    QObject::connect(&Widget, &TDiagramWidget::mouseMovedInDiagram, [&](int x) { moves.push_back(x); });
    QObject::connect(&Widget, &TDiagramWidget::clicked, [&] { ++clicks; });
    QObject::connect(&Widget, &TDiagramWidget::doubleClicked, [&] { ++doubleClicks; });

    Mouse(QEvent::MouseMove, InnerLeft + 30, InnerTop + 100);
    Mouse(QEvent::MouseMove, 40, InnerTop + 100);            // over the left scale
    Mouse(QEvent::MouseMove, InnerLeft + 300, InnerTop + H); // on the time axis
    EXPECT_EQ(moves, std::vector<int>{30});
    EXPECT_EQ(View.CursorX, 30);
    EXPECT_EQ(DarkColumns(150), std::vector<int>{30});

    // A click where the mouse last moved.
    Mouse(QEvent::MouseButtonPress, InnerLeft + 30, InnerTop + 100, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, InnerLeft + 30, InnerTop + 100, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(moves.size(), 1u);

    // A click somewhere else without a move first moves the cursor there.
    Mouse(QEvent::MouseButtonPress, InnerLeft + 77, InnerTop + 10, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, InnerLeft + 77, InnerTop + 10, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(moves.back(), 77);
    EXPECT_EQ(View.CursorX, 77);

    // A double-click delivers its first click, then the double-click, and no third click.
    clicks = 0;
    Mouse(QEvent::MouseButtonPress, InnerLeft + 77, InnerTop + 10, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, InnerLeft + 77, InnerTop + 10, Qt::LeftButton);
    Mouse(QEvent::MouseButtonDblClick, InnerLeft + 77, InnerTop + 10, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, InnerLeft + 77, InnerTop + 10, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);

    // Clicks outside the inner diagram, and right clicks, are not reported.
    Mouse(QEvent::MouseButtonPress, 40, 200, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, 40, 200, Qt::LeftButton);
    Mouse(QEvent::MouseButtonPress, InnerLeft + 50, 200, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, InnerLeft + 50, 200, Qt::RightButton);
    Mouse(QEvent::MouseButtonDblClick, 40, 200, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
}

} // namespace
} // namespace lumetra

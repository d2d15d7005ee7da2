// Window layout around the diagram and the view re-fit after a resize.

#include "ui/DiagramLayout.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(DiagramLayout, SmallWindowsAreSetBackToTheMinimum) {
    EXPECT_EQ(ClampWindowSize({900, 500}), (TWindowSize{1000, 600}));
    EXPECT_EQ(ClampWindowSize({1200, 500}), (TWindowSize{1200, 600}));
    EXPECT_EQ(ClampWindowSize({999, 900}), (TWindowSize{1000, 900}));
    EXPECT_EQ(ClampWindowSize({1280, 800}), (TWindowSize{1280, 800}));
}

TEST(DiagramLayout, PanelAndBoxesForTheSmallestWindow) {
    TLayoutInput in;
    in.ClientWidth = 1000;
    in.ClientHeight = 600;
    in.ButtonSize = 40;
    const TDiagramLayout l = ComputeDiagramLayout(in);
    // Panel: 1000 - 16 wide, 600 - 232 high, below the toolbar (40 + 37).
    EXPECT_EQ(l.DiagramPanel, (TLayoutRect{8, 77, 984, 368}));
    EXPECT_EQ(l.DiagramHeader, (TLayoutRect{1, 1, 984, 20}));
    EXPECT_EQ(l.InnerDiagram, (TLayoutRect{80, 20, 784, 248}));
    EXPECT_EQ(l.LeftYAxisBox, (TLayoutRect{1, 20, 80, 248}));
    EXPECT_EQ(l.RightYAxisBox, (TLayoutRect{864, 20, 120, 248}));
    EXPECT_EQ(l.XAxisBox, (TLayoutRect{1, 268, 984, 100}));
    EXPECT_EQ(l.InnerWidth(), 784);
    EXPECT_EQ(l.InnerHeight(), 248);
}

TEST(DiagramLayout, ToolbarAndControlsBelowThePanel) {
    TLayoutInput in;
    in.WindowWidth = 1016;
    in.ClientWidth = 1000;
    in.ClientHeight = 600;
    in.ButtonSize = 40;
    in.ToolbarTop = 6;
    in.SelectComWidth = 90;
    in.SelectComHeight = 24;
    in.ComBevelWidth = 100;
    in.ComBevelHeight = 34;
    in.RadonModeComboWidth = 120;
    in.RadonModeComboHeight = 22;
    in.SmoothComboWidth = 110;
    in.SmoothComboHeight = 22;
    in.SmoothingLabelWidth = 60;
    in.SmoothingLabelHeight = 13;
    in.SummaryLabelHeight = 13;
    const TDiagramLayout l = ComputeDiagramLayout(in);
    // P = 8, R = 992, b = 40.
    EXPECT_EQ(l.SearchButton, (TLayoutRect{8, 6, 40, 40}));
    EXPECT_EQ(l.SelectCOM, (TLayoutRect{56, 14, 90, 24}));
    EXPECT_EQ(l.ComBevel, (TLayoutRect{51, 9, 100, 34}));
    EXPECT_EQ(l.DataButton.Left, 168);
    EXPECT_EQ(l.SaveButton.Left, 232);
    EXPECT_EQ(l.FileOpenButton.Left, 280);
    EXPECT_EQ(l.CutZigBeeButton.Left, 328);
    EXPECT_EQ(l.Logo.Left, 376);
    EXPECT_TRUE(l.LogoVisible);
    EXPECT_EQ(l.SetUpButton.Left, 952);
    EXPECT_EQ(l.PrintProtocolButton.Left, 888);
    EXPECT_EQ(l.ExportTextButton.Left, 840);
    EXPECT_EQ(l.SpectrumButton.Left, 776);
    EXPECT_EQ(l.UnitButton.Left, 728);
    EXPECT_EQ(l.ErrorBarButton.Left, 680);
    EXPECT_EQ(l.ErrorBarButton.Top, 6);
    EXPECT_EQ(l.CommentEditLeft, 168);
    EXPECT_EQ(l.CommentEditRight, 992);

    // Panel bottom 445: zoom buttons one pixel up, the scroll bar one pixel below.
    EXPECT_EQ(l.ZoomInButton, (TLayoutRect{896, 444, 32, 20}));
    EXPECT_EQ(l.FitButton, (TLayoutRect{928, 444, 32, 20}));
    EXPECT_EQ(l.ZoomOutButton, (TLayoutRect{960, 444, 32, 20}));
    EXPECT_EQ(l.GraphicScrollBar, (TLayoutRect{8, 446, 886, 16}));

    // V = 445 + 16.
    EXPECT_EQ(l.ReadoutRowTop, 476);
    EXPECT_EQ(l.SeparationLine, (TLayoutRect{8, 508, 984, 0}));
    EXPECT_EQ(l.SummaryRowTop[0], 514);
    EXPECT_EQ(l.SummaryRowTop[1], 534);
    EXPECT_EQ(l.SummaryRowTop[2], 554);
    EXPECT_EQ(l.SummaryRowTop[3], 574);
    EXPECT_EQ(l.RadonDisplayModeComboBox, (TLayoutRect{872, 514, 120, 22}));
    // Bottom level with L12's (574 + 13), the label 2 pixels above.
    EXPECT_EQ(l.SmoothComboBox, (TLayoutRect{882, 565, 110, 22}));
    EXPECT_EQ(l.SmoothingLabel, (TLayoutRect{882, 550, 60, 13}));

    in.WindowWidth = 820;
    EXPECT_FALSE(ComputeDiagramLayout(in).LogoVisible);
}

TEST(DiagramLayout, BoxesOfAPanelTooSmallAreEmptyNotNegative) {
    TDiagramLayout l;
    LayoutDiagramBoxes(150, 100, l);
    EXPECT_EQ(l.InnerDiagram.Width, 0);
    EXPECT_EQ(l.InnerDiagram.Height, 0);
    EXPECT_EQ(l.XAxisBox.Top, 20);
}

TEST(DiagramRefit, LastRecordFollowsTheWidth) {
    TViewState view;
    view.Zoom = 1;
    view.FirstVisibleRecord = 1;
    RefitView(view, 700, 1000);
    EXPECT_EQ(view.FirstVisibleRecord, 1);
    EXPECT_EQ(view.LastVisibleRecord, 702);

    // Widening past the end moves the view back: 1000 - 700 = 300.
    view.FirstVisibleRecord = 500;
    RefitView(view, 700, 1000);
    EXPECT_EQ(view.LastVisibleRecord, 1000);
    EXPECT_EQ(view.FirstVisibleRecord, 300);

    // Zoom 14 over 50 records: all fit, the first stays at 1.
    view.Zoom = 14;
    view.FirstVisibleRecord = 1;
    RefitView(view, 700, 50);
    EXPECT_EQ(view.LastVisibleRecord, 50);
    EXPECT_EQ(view.FirstVisibleRecord, 1);

    // Zoom 3: 233 records fit; from 100 the view ends at 334.
    view.Zoom = 3;
    view.FirstVisibleRecord = 100;
    RefitView(view, 700, 1000);
    EXPECT_EQ(view.LastVisibleRecord, 334);

    view.Zoom = 0; // never divides by zero
    view.FirstVisibleRecord = 1;
    RefitView(view, 700, 1000);
    EXPECT_EQ(view.LastVisibleRecord, 702);
}

} // namespace
} // namespace lumetra

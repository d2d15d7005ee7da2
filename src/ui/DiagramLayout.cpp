#include "ui/DiagramLayout.h"

#include <algorithm>

namespace lumetra {

TWindowSize ClampWindowSize(TWindowSize size) {
    return {std::max(size.Width, MinimumWindowWidth), std::max(size.Height, MinimumWindowHeight)};
}

void LayoutDiagramBoxes(Integer panelWidth, Integer panelHeight, TDiagramLayout& layout) {
    // A panel smaller than the frame of scales still gets boxes, only empty inner ones.
    const Integer w = std::max(panelWidth - 200, 0);
    const Integer h = std::max(panelHeight - 120, 0);
    layout.DiagramHeader = {1, 1, panelWidth, 20};
    layout.InnerDiagram = {80, 20, w, h};
    layout.LeftYAxisBox = {1, 20, 80, h};
    layout.RightYAxisBox = {panelWidth - 120, 20, 120, h};
    layout.XAxisBox = {1, 20 + h, panelWidth, 100};
}

TDiagramLayout ComputeDiagramLayout(const TLayoutInput& in) {
    TDiagramLayout l;
    const Integer b = in.ButtonSize;
    l.DiagramPanel = {8, b + 37, in.ClientWidth - 16, in.ClientHeight - 232};
    LayoutDiagramBoxes(l.DiagramPanel.Width, l.DiagramPanel.Height, l);

    const Integer p = l.DiagramPanel.Left;
    const Integer r = l.DiagramPanel.Right();
    const Integer top = in.ToolbarTop;
    const auto button = [&](Integer left) { return TLayoutRect{left, top, b, b}; };
    l.SearchButton = button(p);
    l.SelectCOM = {p + b + 8, top + (b - in.SelectComHeight) / 2, in.SelectComWidth, in.SelectComHeight};
    l.ComBevel = {l.SelectCOM.Left + (in.SelectComWidth - in.ComBevelWidth) / 2,
                  l.SelectCOM.Top + (in.SelectComHeight - in.ComBevelHeight) / 2, in.ComBevelWidth,
                  in.ComBevelHeight};
    l.DataButton = button(p + 4 * b);
    l.SaveButton = button(p + 5 * b + 24);
    l.FileOpenButton = button(p + 6 * b + 32);
    l.CutZigBeeButton = button(p + 7 * b + 40);
    l.Logo = button(p + 8 * b + 48);
    l.LogoVisible = in.WindowWidth > 820;
    l.SetUpButton = button(r - b);
    l.PrintProtocolButton = button(r - 2 * b - 24);
    l.ExportTextButton = button(r - 3 * b - 32);
    l.SpectrumButton = button(r - 4 * b - 56);
    l.UnitButton = button(r - 5 * b - 64);
    l.ErrorBarButton = button(r - 6 * b - 72);
    l.CommentEditLeft = l.DataButton.Left;
    l.CommentEditRight = l.SetUpButton.Right();

    const Integer panelBottom = l.DiagramPanel.Bottom();
    l.ZoomInButton = {r - 96, panelBottom - 1, 32, 20};
    l.FitButton = {r - 64, panelBottom - 1, 32, 20};
    l.ZoomOutButton = {r - 32, panelBottom - 1, 32, 20};
    l.GraphicScrollBar = {p, panelBottom + 1, l.DiagramPanel.Width - 98, 16};

    const Integer v = panelBottom + l.GraphicScrollBar.Height;
    l.ReadoutRowTop = v + 15;
    l.SeparationLine = {p, v + 47, l.DiagramPanel.Width, 0};
    for (Integer row = 0; row < 4; ++row)
        l.SummaryRowTop[row] = v + 53 + 20 * row;
    l.RadonDisplayModeComboBox = {r - in.RadonModeComboWidth, v + 53, in.RadonModeComboWidth,
                                  in.RadonModeComboHeight};
    const Integer l12Bottom = l.SummaryRowTop[3] + in.SummaryLabelHeight;
    l.SmoothComboBox = {r - in.SmoothComboWidth, l12Bottom - in.SmoothComboHeight, in.SmoothComboWidth,
                        in.SmoothComboHeight};
    l.SmoothingLabel = {l.SmoothComboBox.Left, l.SmoothComboBox.Top - 2 - in.SmoothingLabelHeight,
                        in.SmoothingLabelWidth, in.SmoothingLabelHeight};
    return l;
}

void RefitView(TViewState& view, Integer innerWidth, Integer numberOfRecords) {
    // Last = First + V + 1; past the end the view is moved back so that it ends at N.
    const Integer zoom = std::max(view.Zoom, 1);
    const Integer visible = std::max(innerWidth, 0) / zoom;
    const Int64 last = Int64{view.FirstVisibleRecord} + visible + 1;
    if (last > numberOfRecords) {
        view.LastVisibleRecord = numberOfRecords;
        view.FirstVisibleRecord = std::max(numberOfRecords - visible, 1);
    } else {
        view.LastVisibleRecord = static_cast<Integer>(last);
    }
}

} // namespace lumetra

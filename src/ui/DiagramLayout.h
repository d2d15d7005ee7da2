#pragma once
// Where the main window's controls and the diagram's five boxes lie for a window size,
// and how the view is re-fitted after a resize. Plain arithmetic, no toolkit.

#include "core/BasicTypes.h"
#include "ui/ViewState.h"

namespace lumetra {

constexpr Integer MinimumWindowWidth = 1000;
constexpr Integer MinimumWindowHeight = 600;

struct TLayoutRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Width = 0;
    Integer Height = 0;
    Integer Right() const { return Left + Width; }   // first column past the rectangle
    Integer Bottom() const { return Top + Height; }  // first row past the rectangle
    bool operator==(const TLayoutRect&) const = default;
};

struct TWindowSize {
    Integer Width = 0;
    Integer Height = 0;
    bool operator==(const TWindowSize&) const = default;
};

// A window below 1000 × 600 is set back to that size.
TWindowSize ClampWindowSize(TWindowSize size);

// The sizes the layout takes from the window and its controls.
struct TLayoutInput {
    Integer WindowWidth = MinimumWindowWidth; // outer width; decides whether the logo shows
    Integer ClientWidth = MinimumWindowWidth;
    Integer ClientHeight = MinimumWindowHeight;
    Integer ButtonSize = 40;  // b: toolbar buttons are b × b
    Integer ToolbarTop = 8;
    Integer SelectComWidth = 0, SelectComHeight = 0;
    Integer ComBevelWidth = 0, ComBevelHeight = 0;
    Integer RadonModeComboWidth = 0, RadonModeComboHeight = 0;
    Integer SmoothComboWidth = 0, SmoothComboHeight = 0;
    Integer SmoothingLabelWidth = 0, SmoothingLabelHeight = 0;
    Integer SummaryLabelHeight = 0; // height of L12, whose bottom the smoothing box is level with
};

struct TDiagramLayout {
    TLayoutRect DiagramPanel; // in window client coordinates

    // The five paint boxes, relative to the panel. W and H are the inner box's size.
    TLayoutRect DiagramHeader;
    TLayoutRect InnerDiagram;
    TLayoutRect LeftYAxisBox;
    TLayoutRect RightYAxisBox;
    TLayoutRect XAxisBox;

    // Toolbar, in window client coordinates; every button is b × b at the toolbar top.
    TLayoutRect SearchButton; // ScanPortsPanel takes its place during a search
    TLayoutRect SelectCOM;
    TLayoutRect ComBevel; // centred on SelectCOM
    TLayoutRect DataButton;
    TLayoutRect SaveButton;
    TLayoutRect FileOpenButton;
    TLayoutRect CutZigBeeButton;
    TLayoutRect Logo;
    bool LogoVisible = false;
    TLayoutRect SetUpButton;
    TLayoutRect PrintProtocolButton;
    TLayoutRect ExportTextButton;
    TLayoutRect SpectrumButton;
    TLayoutRect UnitButton;
    TLayoutRect ErrorBarButton;
    Integer CommentEditLeft = 0;  // from the left of DataButton ..
    Integer CommentEditRight = 0; // .. to the right edge of SetUpButton

    // Under the panel.
    TLayoutRect ZoomInButton;
    TLayoutRect FitButton;
    TLayoutRect ZoomOutButton;
    TLayoutRect GraphicScrollBar;

    // Label rows below the diagram (tops, window client coordinates).
    Integer ReadoutRowTop = 0; // L1, RadonModeLabel, TimeLabel, RadonLabel, TempLabel, rHLabel, AddedSensorLabel
    TLayoutRect SeparationLine; // height 0: the line's own
    Integer SummaryRowTop[4] = {}; // L5.. / L6.. / L7.. / L8.. rows
    TLayoutRect RadonDisplayModeComboBox;
    TLayoutRect SmoothComboBox;
    TLayoutRect SmoothingLabel;

    Integer InnerWidth() const { return InnerDiagram.Width; }
    Integer InnerHeight() const { return InnerDiagram.Height; }
};

// The five boxes for a panel of the given client size.
void LayoutDiagramBoxes(Integer panelWidth, Integer panelHeight, TDiagramLayout& layout);

TDiagramLayout ComputeDiagramLayout(const TLayoutInput& input);

// After a resize: LastVisibleRecord follows the new width; a view that would run past
// the last record is moved back so that the last record is at the right edge.
void RefitView(TViewState& view, Integer innerWidth, Integer numberOfRecords);

} // namespace lumetra

#pragma once

// What the diagram shows and where the borders lie. Held once by the main window;
// the diagram draws from it and the navigation handlers change it. Plain data, no Qt,
// so the drawing math and the handlers can be tested without a widget.

#include <cstdint>

namespace lumetra {

struct TViewState {
    int Zoom = 1;                   // pixels per record along the time axis, never below 1
    int FirstVisibleRecord = 1;     // record drawn at the left edge (records are 1-based)
    int LastVisibleRecord = 1;      // last record drawn
    std::uint8_t RadonDisplayMode = 1;  // 1 radon, 2 radon fast, 3 thoron, 4 EEC, 5 PAEC Rn, 6 PAEC Tn
    int LeftBorderIndex = 1;
    int RightBorderIndex = 1;
    bool BordersSelected = false;   // the user has set both borders
    bool AwaitingFirstBorder = true;  // the next click sets the first border
    int PendingBorderIndex = 0;     // record chosen by the first border click
    int CursorX = 0;                // x of the cursor line now drawn
    bool DiagramRepainted = false;  // set by every paint, read and cleared by the cursor
};

}  // namespace lumetra

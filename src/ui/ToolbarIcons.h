#pragma once
// The toolbar's icons, drawn as vector shapes at run time for every screen scale.

#include <QIcon>

namespace lumetra {

enum class TToolbarIcon { Search, SetUp, Data, Save, Open, ExportText, Print, Spectrum, ErrorBars, Cut };

// An icon of `size` logical pixels, crisp at 1x, 1.5x, 2x and 3x.
QIcon ToolbarIcon(TToolbarIcon kind, int size = 32);

} // namespace lumetra

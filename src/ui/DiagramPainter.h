#pragma once
// Painting of the time-series diagram: the header, the inner diagram, the left and right
// scales and the time axis, drawn completely from the data and the view state on any
// QPainter. Shapes are drawn without antialiasing so that every pixel lands where the
// layout puts it; only the text is smoothed.

#include "core/GlobalDefinitions.h"
#include "core/PhysicalUnits.h"
#include "evaluation/Smoothing.h"
#include "ui/DiagramHelpers.h"
#include "ui/DiagramLayout.h"
#include "ui/ViewState.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>

namespace lumetra {

// What the diagram is drawn from. Data and Units must be set; Smoothed may be null
// (no smoothing).
struct TDiagramSources {
    const TMeasurementData* Data = nullptr;
    const TPhysicalUnits* Units = nullptr; // the current system of units
    const TSmoothedSeries* Smoothed = nullptr;
    bool ErrorBars = false; // the error-bar button is down
};

// The time-axis font: Arial 8 pt (11 px, the size at the 96 dpi the box sizes are made
// for); where Arial is missing, the default sans face.
QFont DiagramAxisFont();
// The scales' font: the application's default face at the same size.
QFont DiagramScaleFont();

QColor ToQColor(TRgb colour);

// Paints all five boxes of a panel whose client area is `panelSize`, in panel
// coordinates, and sets view.DiagramRepainted. The area outside the boxes is untouched.
void PaintDiagram(QPainter& painter, QSize panelSize, const TDiagramSources& sources, TViewState& view);

// The whole diagram panel as one picture (for tests, screenshots and the printout);
// the panel's own margin is filled with `background`.
QImage RenderDiagramImage(QSize panelSize, const TDiagramSources& sources, TViewState& view,
                          QColor background = QColor(240, 240, 240));

} // namespace lumetra

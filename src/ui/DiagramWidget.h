#pragma once
// The diagram panel: one widget that paints the five boxes of the diagram at their
// fixed places and reports the mouse over the inner diagram. The cursor is an overlay
// line that inverts one column; any repaint of the diagram removes it.

#include "ui/DiagramLayout.h"
#include "ui/DiagramPainter.h"
#include "ui/ViewState.h"

#include <QImage>
#include <QWidget>

namespace lumetra {

class TDiagramWidget final : public QWidget {
    Q_OBJECT
public:
    explicit TDiagramWidget(QWidget* parent = nullptr);

    // The data, units, smoothing and view state the diagram draws from; all owned by the
    // caller and kept alive while the widget exists. `view` also receives CursorX and
    // DiagramRepainted.
    void SetSources(const TMeasurementData* measurementData, const TPhysicalUnits* units, const TSmoothedSeries* smoothed,
                    TViewState* view);
    void SetErrorBars(bool shown);
    bool ErrorBars() const { return Sources.ErrorBars; }

    // Redraws all five boxes now (the cursor line goes with the old picture).
    void ShowGraphic();
    void RefreshDiagram() { ShowGraphic(); }

    // Draws the cursor line at inner-diagram x, removing the previous one. Nothing is
    // drawn while the data set is not valid.
    void MoveCursorLine(int x);
    bool CursorLineShown() const { return CursorShown; }
    int CursorLineX() const { return CursorX; }

    // The boxes for the current size, relative to the widget.
    const TDiagramLayout& Boxes() const { return Layout; }
    int InnerWidth() const { return Layout.InnerWidth(); }
    int InnerHeight() const { return Layout.InnerHeight(); }

signals:
    void mouseMovedInDiagram(int x); // x in inner-diagram coordinates
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool InInnerDiagram(QPoint position) const;
    int InnerX(QPoint position) const { return position.x() - Layout.InnerDiagram.Left; }
    QRect CursorRect(int x) const;
    void RenderPicture();
    bool DataValid() const;

    TDiagramSources Sources;
    TViewState* View = nullptr;
    TViewState OwnView; // stands in until SetSources gives the window's
    TDiagramLayout Layout;
    QImage Picture;
    bool PictureValid = false;
    bool CursorShown = false;
    int CursorX = 0;
    bool PressedInside = false;
    bool InDoubleClick = false;
};

} // namespace lumetra

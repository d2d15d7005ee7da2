#include "ui/DiagramWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace lumetra {

TDiagramWidget::TDiagramWidget(QWidget* parent) : QWidget(parent), View(&OwnView) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent); // the picture covers every pixel
    LayoutDiagramBoxes(width(), height(), Layout);
}

void TDiagramWidget::SetSources(const TMeasurementData* measurementData, const TPhysicalUnits* units,
                                const TSmoothedSeries* smoothed, TViewState* view) {
    Sources.Data = measurementData;
    Sources.Units = units;
    Sources.Smoothed = smoothed;
    View = view ? view : &OwnView;
    ShowGraphic();
}

void TDiagramWidget::SetErrorBars(bool shown) {
    Sources.ErrorBars = shown;
    ShowGraphic();
}

bool TDiagramWidget::DataValid() const { return Sources.Data && Sources.Data->Valid; }

void TDiagramWidget::RenderPicture() {
    const qreal ratio = devicePixelRatioF();
    const QSize device(static_cast<int>(std::ceil(width() * ratio)), static_cast<int>(std::ceil(height() * ratio)));
    if (Picture.size() != device.expandedTo(QSize(1, 1)))
        Picture = QImage(device.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    Picture.setDevicePixelRatio(ratio);
    Picture.fill(palette().color(QPalette::Window));
    QPainter painter(&Picture);
    PaintDiagram(painter, size(), Sources, *View);
    PictureValid = true;
    CursorShown = false;
}

void TDiagramWidget::ShowGraphic() {
    RenderPicture();
    update();
}

QRect TDiagramWidget::CursorRect(int x) const {
    return QRect(Layout.InnerDiagram.Left + x, Layout.InnerDiagram.Top, 1, Layout.InnerDiagram.Height);
}

void TDiagramWidget::MoveCursorLine(int x) {
    if (!DataValid())
        return;
    if (!PictureValid)
        RenderPicture();
    if (View->DiagramRepainted)
        View->DiagramRepainted = false; // the old line went with the last paint
    if (CursorShown)
        update(CursorRect(CursorX));
    CursorX = x;
    CursorShown = true;
    View->CursorX = x;
    update(CursorRect(x));
}

void TDiagramWidget::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    if (!PictureValid || Picture.devicePixelRatio() != ratio)
        RenderPicture();
    QPainter painter(this);
    const QRect area = event->rect();
    const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio);
    painter.drawImage(QRectF(area), Picture, source);
    if (!CursorShown)
        return;
    // The line inverts the column under it, so that it shows on white, dark strips and
    // curves alike, and the picture beneath is untouched.
    const QRect line = CursorRect(CursorX).intersected(QRect(
        Layout.InnerDiagram.Left, Layout.InnerDiagram.Top, Layout.InnerDiagram.Width, Layout.InnerDiagram.Height));
    if (line.isEmpty() || !area.intersects(line))
        return;
    const QRect deviceLine(static_cast<int>(line.x() * ratio), static_cast<int>(line.y() * ratio),
                           std::max(1, static_cast<int>(ratio)), static_cast<int>(line.height() * ratio));
    QImage column = Picture.copy(deviceLine);
    column.invertPixels();
    column.setDevicePixelRatio(ratio);
    painter.drawImage(line.topLeft(), column);
}

void TDiagramWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutDiagramBoxes(width(), height(), Layout);
    PictureValid = false;
    CursorShown = false;
}

bool TDiagramWidget::InInnerDiagram(QPoint position) const {
    const TLayoutRect& inner = Layout.InnerDiagram;
    return position.x() >= inner.Left && position.x() < inner.Right() && position.y() >= inner.Top &&
           position.y() < inner.Bottom();
}

void TDiagramWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (!InInnerDiagram(position))
        return;
    const int x = InnerX(position);
    MoveCursorLine(x);
    emit mouseMovedInDiagram(x);
}

void TDiagramWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    PressedInside = event->button() == Qt::LeftButton && InInnerDiagram(position);
    // A click uses the x of the last move; a press without one (a synthetic click)
    // counts as a move to its place first.
    if (PressedInside && (!CursorShown || InnerX(position) != CursorX)) {
        const int x = InnerX(position);
        MoveCursorLine(x);
        View->CursorX = x;
        emit mouseMovedInDiagram(x);
    }
}

void TDiagramWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasDoubleClick = InDoubleClick;
    InDoubleClick = false;
    if (event->button() != Qt::LeftButton || !PressedInside)
        return;
    PressedInside = false;
    // The second release of a double-click is no click of its own.
    if (!wasDoubleClick && InInnerDiagram(event->position().toPoint()))
        emit clicked();
}

void TDiagramWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !InInnerDiagram(event->position().toPoint()))
        return;
    PressedInside = true;
    InDoubleClick = true;
    emit doubleClicked();
}

} // namespace lumetra

#include "ui/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lumetra {
namespace {

const QColor Ink(40, 56, 80);
const QColor Accent(30, 120, 200);
const QColor Paper(252, 252, 250);
const QColor Green(40, 150, 80);

// Shapes are drawn on a 32 × 32 grid and scaled.
void Draw(QPainter& p, TToolbarIcon kind) {
    QPen pen(Ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    switch (kind) {
    case TToolbarIcon::Search:
        p.setBrush(QColor(220, 236, 250));
        p.drawEllipse(QPointF(13, 13), 8, 8);
        p.setPen(QPen(Ink, 4.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 19), QPointF(27, 27));
        break;
    case TToolbarIcon::SetUp: {
        p.setBrush(QColor(210, 214, 222));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(16, 16);
            p.rotate(45.0 * i);
            p.drawRect(QRectF(-2.5, -13, 5, 6));
            p.restore();
        }
        p.drawEllipse(QPointF(16, 16), 8.5, 8.5);
        p.setBrush(Paper);
        p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
        break;
    }
    case TToolbarIcon::Data:
        p.setBrush(QColor(210, 214, 222));
        p.drawRoundedRect(QRectF(5, 3, 22, 15), 3, 3);
        p.setBrush(QColor(60, 200, 120));
        p.drawRect(QRectF(9, 7, 8, 5));
        p.setPen(QPen(Accent, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(16, 17), QPointF(16, 28));
        p.drawLine(QPointF(10, 23), QPointF(16, 29));
        p.drawLine(QPointF(22, 23), QPointF(16, 29));
        break;
    case TToolbarIcon::Save:
        p.setBrush(Accent);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(Paper);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(230, 232, 236));
        p.drawRect(QRectF(8, 18, 16, 10));
        p.setPen(QPen(Ink, 2.0));
        p.drawLine(QPointF(19, 6), QPointF(19, 11));
        break;
    case TToolbarIcon::Open: {
        p.setBrush(QColor(236, 190, 80));
        QPainterPath back;
        back.moveTo(3, 26);
        back.lineTo(3, 7);
        back.lineTo(11, 7);
        back.lineTo(14, 10);
        back.lineTo(25, 10);
        back.lineTo(25, 14);
        p.drawPath(back);
        p.setBrush(QColor(250, 214, 110));
        QPainterPath front;
        front.moveTo(3, 26);
        front.lineTo(8, 14);
        front.lineTo(30, 14);
        front.lineTo(25, 26);
        front.closeSubpath();
        p.drawPath(front);
        break;
    }
    case TToolbarIcon::ExportText: {
        p.setBrush(Paper);
        QPainterPath page;
        page.moveTo(6, 3);
        page.lineTo(20, 3);
        page.lineTo(26, 9);
        page.lineTo(26, 29);
        page.lineTo(6, 29);
        page.closeSubpath();
        p.drawPath(page);
        p.drawLine(QPointF(20, 3), QPointF(20, 9));
        p.drawLine(QPointF(20, 9), QPointF(26, 9));
        p.setPen(QPen(Accent, 2.0, Qt::SolidLine, Qt::FlatCap));
        for (int row = 0; row < 4; ++row)
            p.drawLine(QPointF(10, 13 + 4 * row), QPointF(row % 2 ? 18 : 22, 13 + 4 * row));
        break;
    }
    case TToolbarIcon::Print:
        p.setBrush(Paper);
        p.drawRect(QRectF(9, 3, 14, 9));
        p.setBrush(QColor(200, 204, 212));
        p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
        p.setBrush(Paper);
        p.drawRect(QRectF(9, 18, 14, 11));
        p.setPen(QPen(Accent, 1.5));
        p.drawLine(QPointF(12, 22), QPointF(20, 22));
        p.drawLine(QPointF(12, 25.5), QPointF(18, 25.5));
        p.setPen(Qt::NoPen);
        p.setBrush(Green);
        p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
        break;
    case TToolbarIcon::Spectrum: {
        p.drawLine(QPointF(4, 28), QPointF(28, 28));
        p.drawLine(QPointF(4, 4), QPointF(4, 28));
        const double heights[] = {4, 9, 18, 12, 6, 14, 5, 3};
        p.setPen(Qt::NoPen);
        p.setBrush(Accent);
        for (int i = 0; i < 8; ++i)
            p.drawRect(QRectF(6.5 + 2.7 * i, 27 - heights[i], 2.1, heights[i]));
        break;
    }
    case TToolbarIcon::ErrorBars:
        p.drawLine(QPointF(3, 28), QPointF(29, 28));
        p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::FlatCap));
        for (int i = 0; i < 3; ++i) {
            const double x = 8 + 8 * i;
            const double y = 18 - 4 * i;
            const double e = 4 + i;
            p.drawLine(QPointF(x, y - e), QPointF(x, y + e));
            p.drawLine(QPointF(x - 3, y - e), QPointF(x + 3, y - e));
            p.drawLine(QPointF(x - 3, y + e), QPointF(x + 3, y + e));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(8 + 8 * i, 18 - 4 * i), 2.3, 2.3);
        break;
    case TToolbarIcon::Cut:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(9, 23), 4, 4);
        p.drawEllipse(QPointF(23, 23), 4, 4);
        p.drawLine(QPointF(12, 20), QPointF(24, 4));
        p.drawLine(QPointF(20, 20), QPointF(8, 4));
        break;
    }
}

QPixmap Render(TToolbarIcon kind, int size, qreal ratio) {
    const int device = static_cast<int>(size * ratio + 0.5);
    QPixmap pixmap(device, device);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(device / 32.0, device / 32.0);
    Draw(p, kind);
    p.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QIcon ToolbarIcon(TToolbarIcon kind, int size) {
    QIcon icon;
    for (const qreal ratio : {1.0, 1.5, 2.0, 3.0})
        icon.addPixmap(Render(kind, size, ratio));
    return icon;
}

} // namespace lumetra

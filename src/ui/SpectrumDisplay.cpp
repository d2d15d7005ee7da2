// Before the window's header, as everywhere in the windows.
#include "evaluation/IntegralData.h"
#include "ui/SpectrumDisplay.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace lumetra {
namespace {

const QColor Background(255, 255, 102);
const QColor BarGrey(128, 128, 128);
const QColor TextRed(255, 0, 0);

// A rectangle filled with `fill` inside a one-pixel outline of `outline`.
void OutlinedRect(QPainter& painter, const TSpectrumRect& r, const QColor& outline, const QColor& fill) {
    const int width = r.Right - r.Left;
    const int height = r.Bottom - r.Top;
    if (width <= 0 || height <= 0)
        return;
    painter.fillRect(r.Left, r.Top, width, height, outline);
    if (width > 2 && height > 2)
        painter.fillRect(r.Left + 1, r.Top + 1, width - 2, height - 2, fill);
}

// The labels stand over the bars of their own region: a one-pixel white rim keeps them
// readable on grey, and vanishes on the white plot.
void DrawText(QPainter& painter, const TSpectrumText& text, int x) {
    const QString string = QString::fromStdString(text.Text);
    const int baseline = text.Y + painter.fontMetrics().ascent();
    painter.setPen(Qt::white);
    for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
        painter.drawText(x + dx, baseline + dy, string);
    painter.setPen(text.Red ? TextRed : Qt::black);
    painter.drawText(x, baseline, string);
}

} // namespace

QFont SpectrumFont() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(11);
    // Condensed, so that a label fits beside the next region's line: the Halvo's
    // Po-216 region is only 6 channels (90 pixels) wide in the first window size.
    font.setStretch(QFont::Condensed);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

void PaintSpectrum(QPainter& painter, QSize size, const TInstrumentHeader& header, const TDosikaSpectrum& spectrum,
                   const TROISums& sums, const TTranslate& translate) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(0, 0, size.width(), size.height(), Background);
    const TSpectrumGeometry g = SpectrumGeometry(size.width(), size.height(), spectrum.Size);
    if (g.ChannelCount == 0) {
        painter.restore();
        return;
    }
    OutlinedRect(painter, SpectrumFrame(g), Qt::black, Qt::white);
    for (const TSpectrumBar& bar : SpectrumBars(g, spectrum))
        OutlinedRect(painter, bar.Rect, Qt::white, BarGrey);

    painter.setFont(SpectrumFont());
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics = painter.fontMetrics();
    const TSpectrumText offsetText = SpectrumOffsetText(g, header.Offset, translate);
    DrawText(painter, offsetText, offsetText.X);
    for (const TSpectrumMark& mark : SpectrumMarks(g, header, sums, translate)) {
        // From the baseline up to the row below y0, the end point left out as a pen
        // line leaves it.
        for (const Integer x : mark.LineX)
            painter.fillRect(x, g.Top + 1, 1, g.PlotHeight, Qt::black);
        // The three rows of a region move together when the widest would leave the area.
        int widest = 0;
        for (const TSpectrumText& text : mark.Texts)
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(text.Text)));
        for (const TSpectrumText& text : mark.Texts)
            DrawText(painter, text, TextLeftInside(text.X, widest, size.width()));
    }
    painter.restore();
}

QImage RenderSpectrumImage(QSize size, const TInstrumentHeader& header, const TDosikaSpectrum& spectrum,
                           const TROISums& sums, const TTranslate& translate) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter painter(&image);
    PaintSpectrum(painter, size, header, spectrum, sums, translate);
    return image;
}

TSpectrumSheet::TSpectrumSheet(TSpectrumWindow& window) : QWidget(&window), Window(window) {
    setAttribute(Qt::WA_OpaquePaintEvent); // the background covers every pixel
}

void TSpectrumSheet::paintEvent(QPaintEvent*) {
    ++Paints;
    QPainter painter(this);
    Window.DrawSpectrum(painter);
}

TSpectrumWindow::TSpectrumWindow(TTranslate translate, QWidget* parent)
    : QWidget(parent, Qt::Window), Translate(std::move(translate)) {
    setWindowTitle(QString::fromStdString(Translate ? Translate("Alpha Spectrum") : "Alpha Spectrum"));
    SpectrumSheet = new TSpectrumSheet(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SpectrumSheet);
    resize(606, 391);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed(QPoint(0, 0), size());
        placed.moveCenter(screen->availableGeometry().center());
        move(placed.topLeft());
    }
}

void TSpectrumWindow::ShowSpectrum(bool show, const std::string& title, const TInstrumentHeader& header,
                                   const TIntegralData& integral) {
    Header = header;
    SumSpectrum = integral.SumSpectrum;
    Title = title;
    const std::string caption = Translate ? Translate("Alpha Spectrum [") : "Alpha Spectrum [";
    setWindowTitle(QString::fromStdString(caption + title + "]"));
    CalculateROISums(Header, SumSpectrum, Sums);
    if (show) {
        // A window shown anew comes up on top by itself; one left open behind the main
        // window is brought forward.
        if (isVisible())
            raise();
        QWidget::show();
        activateWindow();
        SpectrumSheet->update();
    } else {
        SpectrumSheet->repaint();
    }
}

void TSpectrumWindow::DrawSpectrum(QPainter& painter) {
    PaintSpectrum(painter, SpectrumSheet->size(), Header, SumSpectrum, Sums, Translate);
}

} // namespace lumetra

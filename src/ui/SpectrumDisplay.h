#pragma once
// The alpha spectrum window: the sum spectrum of the bordered range as a bar chart with
// the instrument's regions of interest marked and labelled with nuclide, channel range
// and count sum. One instance lives beside the main window for the whole run; it keeps
// its own copies of what it shows, replaced by every ShowSpectrum.

#include "core/GlobalDefinitions.h"
#include "core/UserInterface.h"
#include "ui/SpectrumGeometry.h"

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QWidget>

#include <string>

namespace lumetra {

struct TIntegralData;

// The texts' font: the application's face, condensed, at 11 pixels, so that the rows
// 15 pixels apart stay clear of each other.
QFont SpectrumFont();

// Paints the whole spectrum into an area of `size` from (0, 0): the light yellow
// background, and with at least one channel the plot frame, the bars, the offset text
// and the region marks. Shapes land on whole pixels; only the text is smoothed.
void PaintSpectrum(QPainter& painter, QSize size, const TInstrumentHeader& header, const TDosikaSpectrum& spectrum,
                   const TROISums& sums, const TTranslate& translate);

// The same as a picture (tests, benchmarks).
QImage RenderSpectrumImage(QSize size, const TInstrumentHeader& header, const TDosikaSpectrum& spectrum,
                           const TROISums& sums, const TTranslate& translate = {});

class TSpectrumWindow;

// The paint box that fills the window: every paint is DrawSpectrum.
class TSpectrumSheet final : public QWidget {
public:
    explicit TSpectrumSheet(TSpectrumWindow& window);
    int PaintCount() const { return Paints; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TSpectrumWindow& Window;
    int Paints = 0;
};

class TSpectrumWindow final : public QWidget {
public:
    // A top-level window owned by `parent`; texts go through `translate`.
    TSpectrumWindow(TTranslate translate, QWidget* parent = nullptr);

    // Takes copies of the header and of the integral data's sum spectrum, sets the
    // caption "Alpha Spectrum [title]", computes the ROI sums, then shows the window
    // (show true) or repaints it at once.
    void ShowSpectrum(bool show, const std::string& title, const TInstrumentHeader& header,
                      const TIntegralData& integral);
    // The paint of SpectrumSheet, from the copies of the last ShowSpectrum.
    void DrawSpectrum(QPainter& painter);

    const TROISums& ROISums() const { return Sums; }
    const TDosikaSpectrum& Spectrum() const { return SumSpectrum; }

    TSpectrumSheet* SpectrumSheet = nullptr;

private:
    TTranslate Translate;
    TInstrumentHeader Header{};
    TDosikaSpectrum SumSpectrum{};
    std::string Title;
    TROISums Sums{};
};

} // namespace lumetra

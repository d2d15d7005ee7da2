// The painted spectrum checked pixel by pixel in the window's first size, 606 × 391:
// 50 channels give step 11, x0 28, y0 10, yB 381.

#include "ui/SpectrumDisplay.h"

#include "DiagramTestData.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

using diagram_test::IsColour;

constexpr int Width = 606;
constexpr int Height = 391;

bool Yellow(const QImage& image, int x, int y) { return IsColour(image, x, y, 255, 255, 102); }
bool White(const QImage& image, int x, int y) { return IsColour(image, x, y, 255, 255, 255); }
bool Black(const QImage& image, int x, int y) { return IsColour(image, x, y, 0, 0, 0); }
bool Grey(const QImage& image, int x, int y) { return IsColour(image, x, y, 128, 128, 128); }

int Count(const QImage& image, QRect area, const std::function<bool(QRgb)>& kind) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += kind(image.pixel(x, y)) ? 1 : 0;
    return count;
}
bool Reddish(QRgb p) { return qRed(p) > 180 && qGreen(p) < 120 && qBlue(p) < 120; }
bool Darkish(QRgb p) { return qRed(p) < 100 && qGreen(p) < 100 && qBlue(p) < 100; }

class SpectrumPainter : public ::testing::Test {
protected:
    SpectrumPainter() {
        Header.DeviceFamily = FamilyDosika;
        Header.Offset = 3;
        const std::pair<Byte, Byte> limits[5] = {{10, 20}, {21, 30}, {31, 40}, {41, 45}, {46, 50}};
        for (std::size_t i = 1; i <= 5; ++i)
            Header.ROILimits[i] = {limits[i - 1].first, limits[i - 1].second};
        Spectrum.Size = 50;
        Spectrum.Channels[2] = 742; // 371 pixels high: the whole plot
        Spectrum.Channels[3] = 101; // 50 pixels
        CalculateROISums(Header, Spectrum, Sums);
    }
    QImage Render() const { return RenderSpectrumImage(QSize(Width, Height), Header, Spectrum, Sums); }

    TInstrumentHeader Header;
    TDosikaSpectrum Spectrum;
    TROISums Sums{};
};

TEST_F(SpectrumPainter, FrameBarsAndRegionLines) {
    const QImage image = Render();
    ASSERT_EQ(image.size(), QSize(Width, Height));
    EXPECT_TRUE(Yellow(image, 0, 0));
    EXPECT_TRUE(Yellow(image, Width - 1, Height - 1));
    // The frame's outline: columns 27 and 578, rows 9 and 381; yellow outside it.
    for (const auto& [x, y] : {std::pair{27, 200}, {578, 200}, {300, 9}, {300, 381}})
        EXPECT_TRUE(Black(image, x, y)) << x << "," << y;
    for (const auto& [x, y] : {std::pair{26, 200}, {579, 200}, {300, 8}, {300, 382}})
        EXPECT_TRUE(Yellow(image, x, y)) << x << "," << y;
    EXPECT_TRUE(White(image, 33, 200)); // channel 1 has no bar

    // Channel 2: x 39 .. 49, rows 10 .. 380, grey inside a white outline.
    EXPECT_TRUE(Grey(image, 44, 200));
    EXPECT_TRUE(Grey(image, 40, 11));
    EXPECT_TRUE(Grey(image, 48, 379));
    for (const auto& [x, y] : {std::pair{39, 200}, {49, 200}, {44, 10}, {44, 380}})
        EXPECT_TRUE(White(image, x, y)) << x << "," << y;
    // Channel 3: rows 331 .. 380.
    EXPECT_TRUE(White(image, 55, 330));
    EXPECT_TRUE(White(image, 55, 331));
    EXPECT_TRUE(Grey(image, 55, 332));

    // ROI 1 (channels 10 .. 20): lines at the left edge of 10 (x 127) and the right edge
    // of 20 (x 248), from the baseline up to the row below y0.
    for (int x : {127, 248, 358, 468, 523, 578}) {
        EXPECT_TRUE(Black(image, x, 11)) << x;
        EXPECT_TRUE(Black(image, x, 300)) << x;
    }
    EXPECT_TRUE(White(image, 127, 10));
    EXPECT_TRUE(White(image, 126, 300));
    EXPECT_TRUE(White(image, 128, 300));
}

TEST_F(SpectrumPainter, TextsInTheirRowsWithTheSumsInRed) {
    const QImage image = Render();
    // ROI 1 from x 137: nuclide at y 25, channels at 40, the sum (165) in red at 55.
    EXPECT_GT(Count(image, QRect(137, 25, 100, 13), Darkish), 20);
    EXPECT_GT(Count(image, QRect(137, 40, 80, 13), Darkish), 20);
    EXPECT_EQ(Count(image, QRect(137, 25, 100, 28), Reddish), 0);
    EXPECT_GT(Count(image, QRect(137, 55, 60, 13), Reddish), 10);
    // ROI 2 one block lower, from y 85.
    EXPECT_GT(Count(image, QRect(258, 85, 90, 13), Darkish), 20);
    EXPECT_GT(Count(image, QRect(258, 115, 60, 13), Reddish), 10);
    EXPECT_EQ(Count(image, QRect(258, 25, 90, 45), Darkish), 0);
    // The offset text above the baseline: x 38, y 366.
    EXPECT_GT(Count(image, QRect(60, 366, 100, 13), Darkish), 20);
}

TEST_F(SpectrumPainter, EmptySpectrumHasFrameAndMarksButNoBars) {
    Spectrum.Channels[2] = 0;
    Spectrum.Channels[3] = 0;
    const QImage image = Render();
    // Between the region texts and the offset text, where the bars would stand.
    EXPECT_EQ(Count(image, QRect(28, 130, 550, 230), [](QRgb p) { return p == qRgb(128, 128, 128); }), 0);
    EXPECT_TRUE(Black(image, 27, 200));
    EXPECT_TRUE(Black(image, 127, 200));
    EXPECT_TRUE(White(image, 44, 200));
}

TEST_F(SpectrumPainter, WithoutChannelsOnlyTheBackground) {
    Spectrum.Size = 0;
    const QImage image = Render();
    EXPECT_EQ(Count(image, image.rect(), [](QRgb p) { return p != qRgb(255, 255, 102); }), 0);
}

} // namespace
} // namespace lumetra

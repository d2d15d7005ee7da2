// The spectrum window's geometry, sums and marks without a widget; the numbers are
// worked out by hand from the window's rules.

#include "ui/SpectrumGeometry.h"

#include <gtest/gtest.h>

#include <map>

namespace lumetra {
namespace {

TDosikaSpectrum Ramp(Integer size) {
    TDosikaSpectrum s;
    s.Size = size;
    for (std::size_t j = 1; j <= DosikaSpectrumChannels; ++j)
        s.Channels[j] = static_cast<Integer>(j); // channel j holds j counts
    return s;
}

TInstrumentHeader DosikaHeader(std::initializer_list<std::pair<Byte, Byte>> limits) {
    TInstrumentHeader h;
    h.DeviceFamily = FamilyDosika;
    std::size_t i = 1;
    for (const auto& [lower, upper] : limits)
        h.ROILimits[i++] = {lower, upper};
    return h;
}

TInstrumentHeader HalvoHeader() {
    TInstrumentHeader h;
    h.DeviceFamily = FamilyHalvo;
    const Byte levels[5] = {4, 12, 18, 26, 34};
    for (std::size_t i = 1; i <= 5; ++i)
        h.ROILevel[i] = levels[i - 1];
    return h;
}

TEST(SpectrumGeometry, StepPlotAndOrigin) {
    struct TCase {
        Integer W, H, N;
        TSpectrumGeometry Expected; // n, step, PW, PH, x0, y0, yB
    };
    const TCase cases[] = {
        // Round(0.98 × 606) = 594; 594 div 50 = 11; Round(0.95 × 391) = Round(371.45) = 371.
        {606, 391, 50, {50, 11, 550, 371, 28, 10, 381}},
        {606, 391, 60, {60, 9, 540, 371, 33, 10, 381}},
        {606, 391, 38, {38, 15, 570, 371, 18, 10, 381}},
        // Narrower than 50 / 0.98 pixels: Round(49) div 50 = 0.
        {50, 100, 50, {50, 0, 0, 95, 25, 2, 97}},
        // No channels: nothing but the background.
        {606, 391, 0, {0, 0, 0, 371, 303, 10, 381}},
        // A damaged size is held to the 60 channels there are.
        {606, 391, 75, {60, 9, 540, 371, 33, 10, 381}},
        {606, 391, -3, {0, 0, 0, 371, 303, 10, 381}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(SpectrumGeometry(c.W, c.H, c.N), c.Expected) << c.W << " x " << c.H << ", " << c.N;
    EXPECT_EQ(SpectrumFrame(SpectrumGeometry(606, 391, 50)), (TSpectrumRect{27, 9, 579, 382}));
}

TEST(SpectrumGeometry, RoiSumsIncludeBothEndChannels) {
    TROISums sums{};
    sums[5] = 99;
    CalculateROISums(DosikaHeader({{10, 20}, {21, 30}, {31, 40}, {41, 50}, {58, 70}}), Ramp(60), sums);
    // 10 + ... + 20 = 165; channels past 60 hold nothing.
    EXPECT_EQ(sums, (TROISums{165, 255, 355, 455, 58 + 59 + 60}));

    sums = TROISums{1, 2, 3, 4, 99};
    CalculateROISums(HalvoHeader(), Ramp(38), sums);
    // Channels 5..12, 13..18, 19..26, 27..34; the Halvo family has no fifth region.
    EXPECT_EQ(sums, (TROISums{68, 93, 180, 244, 99}));

    TInstrumentHeader other = HalvoHeader();
    other.DeviceFamily = FamilyPemko;
    sums = TROISums{1, 2, 3, 4, 5};
    CalculateROISums(other, Ramp(38), sums);
    EXPECT_EQ(sums, (TROISums{1, 2, 3, 4, 5}));
}

TEST(SpectrumGeometry, BarsScaleToTheLargestCountWithHalvesToEven) {
    const TSpectrumGeometry g = SpectrumGeometry(606, 391, 50); // step 11, x0 28, PH 371, yB 381
    TDosikaSpectrum s;
    s.Size = 50;
    s.Channels[2] = 742; // the largest: 371 pixels, so the scale is 1/2
    s.Channels[3] = 101; // 50.5 -> 50
    s.Channels[4] = 103; // 51.5 -> 52
    s.Channels[5] = 1;   // 0.5 -> 0: no bar
    s.Channels[51] = 9999; // beyond Size: neither drawn nor part of the scale
    const std::vector<TSpectrumBar> expected{
        {2, {39, 10, 50, 381}}, {3, {50, 331, 61, 381}}, {4, {61, 329, 72, 381}}};
    EXPECT_EQ(SpectrumBars(g, s), expected);

    EXPECT_TRUE(SpectrumBars(SpectrumGeometry(606, 391, 0), Ramp(0)).empty());
    TDosikaSpectrum empty;
    empty.Size = 50;
    EXPECT_TRUE(SpectrumBars(g, empty).empty());
    EXPECT_TRUE(SpectrumBars(SpectrumGeometry(50, 100, 50), s).empty()); // step 0
}

TEST(SpectrumGeometry, DosikaMarksAreStaggeredAndTranslated) {
    const TSpectrumGeometry g = SpectrumGeometry(606, 391, 50);
    const TInstrumentHeader h = DosikaHeader({{10, 20}, {21, 30}, {31, 40}, {41, 45}, {46, 50}});
    const TROISums sums{165, 255, 355, 7, 8};
    const std::map<std::string, std::string> german{{"Channels ", "Kanäle "}, {":", "-"}, {" cts", " Imp."},
                                                    {"Po-216 (6778keV)", "Po-216 (6778 keV)"}};
    const TTranslate translate = [&german](const std::string& english) {
        const auto found = german.find(english);
        return found == german.end() ? english : found->second;
    };
    const std::vector<TSpectrumMark> marks = SpectrumMarks(g, h, sums, translate);
    ASSERT_EQ(marks.size(), 5u);
    struct TRow {
        Integer Left, Right, TextX, Y;
        std::string Nuclide, Channels, Sum;
    };
    // Lines at (L - 1) × 11 + 28 and U × 11 + 28; odd ROIs from y0 + 15, even from y0 + 75.
    const TRow rows[5] = {{127, 248, 137, 25, "Rn-222 (5490keV)", "Kanäle 10-20", "165 Imp."},
                          {248, 358, 258, 85, "Po-218 (6002keV)", "Kanäle 21-30", "255 Imp."},
                          {358, 468, 368, 25, "Po-216 (6778 keV)", "Kanäle 31-40", "355 Imp."},
                          {468, 523, 478, 85, "Po-214 (7687keV)", "Kanäle 41-45", "7 Imp."},
                          {523, 578, 533, 25, "Po-212 (8785keV)", "Kanäle 46-50", "8 Imp."}};
    for (std::size_t i = 0; i < 5; ++i) {
        const TRow& r = rows[i];
        EXPECT_EQ(marks[i].LineX, (std::vector<Integer>{r.Left, r.Right})) << "ROI " << i + 1;
        const std::vector<TSpectrumText> texts{{r.TextX, r.Y, r.Nuclide, false},
                                               {r.TextX, r.Y + 15, r.Channels, false},
                                               {r.TextX, r.Y + 30, r.Sum, true}};
        EXPECT_EQ(marks[i].Texts, texts) << "ROI " << i + 1;
    }
    EXPECT_EQ(SpectrumOffsetText(g, 2, {}), (TSpectrumText{38, 366, "Spectrum Offset 2 Channels", false}));
    // A text that would run out of the 606 pixels ends 2 pixels inside them.
    EXPECT_EQ(TextLeftInside(533, 70, 606), 533);
    EXPECT_EQ(TextLeftInside(538, 76, 606), 528);
    EXPECT_EQ(TextLeftInside(20, 700, 606), 0);

    // With step 0 every line stands at x0.
    for (const TSpectrumMark& mark : SpectrumMarks(SpectrumGeometry(50, 100, 50), h, sums, {}))
        EXPECT_EQ(mark.LineX, (std::vector<Integer>{25, 25}));
}

TEST(SpectrumGeometry, HalvoMarksFiveBoundariesAndLabelsFourRegions) {
    const TSpectrumGeometry g = SpectrumGeometry(606, 391, 38); // step 15, x0 18, y0 10
    const std::vector<TSpectrumMark> marks = SpectrumMarks(g, HalvoHeader(), TROISums{68, 93, 180, 244, 0}, {});
    ASSERT_EQ(marks.size(), 5u);
    const Integer lines[5] = {78, 198, 288, 408, 528};
    const char* labels[4][3] = {{"Po-218 (6002keV)", "Channels 5:12", "68 cts"},
                                {"Po-216 (6778keV)", "Channels 13:18", "93 cts"},
                                {"Po-214 (7687keV)", "Channels 19:26", "180 cts"},
                                {"Po-212 (8785keV)", "Channels 27:34", "244 cts"}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(marks[i].LineX, std::vector<Integer>{lines[i]}) << "boundary " << i + 1;
        if (i == 4) {
            EXPECT_TRUE(marks[i].Texts.empty());
            continue;
        }
        const Integer x = lines[i] + 10;
        const std::vector<TSpectrumText> texts{
            {x, 25, labels[i][0], false}, {x, 40, labels[i][1], false}, {x, 55, labels[i][2], true}};
        EXPECT_EQ(marks[i].Texts, texts) << "region " << i + 1;
    }
    TInstrumentHeader modem = HalvoHeader();
    modem.DeviceFamily = FamilyModem;
    EXPECT_TRUE(SpectrumMarks(g, modem, TROISums{}, {}).empty());
}

} // namespace
} // namespace lumetra

#include "ui/SpectrumGeometry.h"

#include "ui/DiagramHelpers.h"

#include <algorithm>
#include <array>

namespace lumetra {
namespace {

constexpr std::array<const char*, 5> Nuclides = {"Rn-222 (5490keV)", "Po-218 (6002keV)", "Po-216 (6778keV)",
                                                 "Po-214 (7687keV)", "Po-212 (8785keV)"};

std::string T(const TTranslate& translate, const std::string& english) {
    return translate ? translate(english) : english;
}

// Channels first..last of the spectrum's array; the rest of the range counts as empty.
Int64 ChannelSum(const TDosikaSpectrum& spectrum, Integer first, Integer last) {
    Int64 sum = 0;
    for (Integer j = std::max<Integer>(first, 1); j <= std::min<Integer>(last, DosikaSpectrumChannels); ++j)
        sum += spectrum.Channels[static_cast<std::size_t>(j)];
    return sum;
}

// The three rows of one region: nuclide, channel range, count sum in red.
std::vector<TSpectrumText> RegionTexts(Integer x, Integer y, Byte family, Integer roi, Integer first, Integer last,
                                       Int64 sum, const TTranslate& translate) {
    return {{x, y, T(translate, NuclideLabel(family, roi)), false},
            {x, y + 15,
             T(translate, "Channels ") + std::to_string(first) + T(translate, ":") + std::to_string(last), false},
            {x, y + 30, std::to_string(sum) + T(translate, " cts"), true}};
}

} // namespace

std::string NuclideLabel(Byte family, Integer roi) {
    if (family == FamilyDosika && roi >= 1 && roi <= 5)
        return Nuclides[static_cast<std::size_t>(roi - 1)];
    if (family == FamilyHalvo && roi >= 1 && roi <= 4)
        return Nuclides[static_cast<std::size_t>(roi)];
    return {};
}

void CalculateROISums(const TInstrumentHeader& header, const TDosikaSpectrum& spectrum, TROISums& sums) {
    if (header.DeviceFamily == FamilyDosika) {
        for (std::size_t i = 1; i <= 5; ++i)
            sums[i] = ChannelSum(spectrum, header.ROILimits[i].LowerLimit, header.ROILimits[i].UpperLimit);
    } else if (header.DeviceFamily == FamilyHalvo) {
        for (std::size_t i = 1; i <= 4; ++i)
            sums[i] = ChannelSum(spectrum, header.ROILevel[i] + 1, header.ROILevel[i + 1]);
    }
}

TSpectrumGeometry SpectrumGeometry(Integer width, Integer height, Integer channelCount) {
    TSpectrumGeometry g;
    g.ChannelCount = std::clamp<Integer>(channelCount, 0, DosikaSpectrumChannels);
    g.Step = g.ChannelCount > 0 ? RoundHalfEven(0.98 * width) / g.ChannelCount : 0;
    g.PlotWidth = g.Step * g.ChannelCount;
    g.PlotHeight = RoundHalfEven(0.95 * height);
    g.Left = (width - g.PlotWidth) / 2;
    g.Top = (height - g.PlotHeight) / 2;
    g.Baseline = g.Top + g.PlotHeight;
    return g;
}

TSpectrumRect SpectrumFrame(const TSpectrumGeometry& g) {
    return {g.Left - 1, g.Top - 1, g.Left + g.PlotWidth + 1, g.Baseline + 1};
}

std::vector<TSpectrumBar> SpectrumBars(const TSpectrumGeometry& g, const TDosikaSpectrum& spectrum) {
    std::vector<TSpectrumBar> bars;
    Integer largest = 0;
    for (Integer i = 1; i <= g.ChannelCount; ++i)
        largest = std::max(largest, spectrum.Channels[static_cast<std::size_t>(i)]);
    if (largest <= 0 || g.Step <= 0)
        return bars;
    const double scale = static_cast<double>(g.PlotHeight) / largest;
    for (Integer i = 1; i <= g.ChannelCount; ++i) {
        const Integer height = RoundHalfEven(spectrum.Channels[static_cast<std::size_t>(i)] * scale);
        if (height == 0)
            continue;
        // A negative count (a damaged file) hangs below the baseline rather than vanishing.
        const Integer top = g.Baseline - std::max(height, 0);
        const Integer bottom = g.Baseline - std::min(height, 0);
        bars.push_back({i, {(i - 1) * g.Step + g.Left, top, i * g.Step + g.Left, bottom}});
    }
    return bars;
}

Integer TextLeftInside(Integer x, Integer textWidth, Integer areaWidth) {
    return std::max<Integer>(0, std::min(x, areaWidth - 2 - textWidth));
}

TSpectrumText SpectrumOffsetText(const TSpectrumGeometry& g, Byte offset, const TTranslate& translate) {
    return {g.Left + 10, g.Baseline - 15,
            T(translate, "Spectrum Offset ") + std::to_string(offset) + T(translate, " Channels"), false};
}

std::vector<TSpectrumMark> SpectrumMarks(const TSpectrumGeometry& g, const TInstrumentHeader& header,
                                         const TROISums& sums, const TTranslate& translate) {
    std::vector<TSpectrumMark> marks;
    if (header.DeviceFamily == FamilyDosika) {
        for (Integer i = 1; i <= 5; ++i) {
            const TROILimits& roi = header.ROILimits[static_cast<std::size_t>(i)];
            const Integer lower = roi.LowerLimit;
            const Integer upper = roi.UpperLimit;
            const Integer left = (lower - 1) * g.Step + g.Left;
            const Integer row = g.Top + (i % 2 == 1 ? 15 : 75);
            marks.push_back({{left, upper * g.Step + g.Left},
                             RegionTexts(left + 10, row, header.DeviceFamily, i, lower, upper,
                                         sums[static_cast<std::size_t>(i)], translate)});
        }
    } else if (header.DeviceFamily == FamilyHalvo) {
        for (Integer i = 1; i <= 5; ++i) {
            const Integer level = header.ROILevel[static_cast<std::size_t>(i)];
            const Integer x = level * g.Step + g.Left;
            TSpectrumMark mark{{x}, {}};
            if (i <= 4)
                mark.Texts = RegionTexts(x + 10, g.Top + 15, header.DeviceFamily, i, level + 1,
                                         header.ROILevel[static_cast<std::size_t>(i + 1)],
                                         sums[static_cast<std::size_t>(i)], translate);
            marks.push_back(std::move(mark));
        }
    }
    return marks;
}

} // namespace lumetra

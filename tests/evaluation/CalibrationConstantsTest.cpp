// The calibration constants text for every row of both family tables, in SI and in US
// units; the expected texts are worked out by hand from the calibration words.

#include "evaluation/CalibrationConstants.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <memory>
#include <string>

namespace lumetra {
namespace {

class CalibrationConstants : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
        SetUnitSystem(UnitsSI, Si);
        SetUnitSystem(UnitsUS, Us);
        Data->Valid = true;
        Data->Header.DeviceNumber = 321;
    }
    void TearDown() override { std::setlocale(LC_ALL, Saved.c_str()); }

    void Set(Byte family, Byte type, Byte software, std::array<Word, 6> words, Word setupWord = 0) {
        Data->Header.DeviceFamily = family;
        Data->Header.DeviceType = type;
        Data->Header.SoftwareVersion = software;
        for (std::size_t k = 1; k <= 6; ++k)
            Data->Header.UniCon[k] = words[k - 1];
        Data->Setup.SetupWord = setupWord;
    }
    std::string Text(const TPhysicalUnits& units, const TTranslate& translate = {}) const {
        return CalibrationConstantsText(*Data, units, translate).value_or("(nothing)");
    }

    std::string Saved = std::setlocale(LC_ALL, nullptr);
    TPhysicalUnits Si;
    TPhysicalUnits Us;
    std::unique_ptr<TInstrumentData> Data = std::make_unique<TInstrumentData>();
};

struct TCase {
    Byte Family, Type, Software;
    std::array<Word, 6> Words;
    Word SetupWord;
    const char* Instrument; // the heading after "Calibration Constants for "
    const char* SiLines;    // what follows the heading's line break
    const char* UsLines;
};

std::string Expected(const TCase& c, bool us) {
    return std::string("Calibration Constants for ") + c.Instrument + "\n" + (us ? c.UsLines : c.SiLines);
}

TEST_F(CalibrationConstants, DosikaFamily) {
    const TCase cases[] = {
        // Type 1: Fast = 10 / 50, Slow = 10 / 40; US × 2.22 = 0.444 and 0.555.
        {1, 1, 2, {50, 40, 9, 9, 9, 9}, 0, "Dosika, SN:321, SW:2",
         "\nSensitivity (Slow): 0.25 cpm/(kBq/m³)\nSensitivity (Fast): 0.20 cpm/(kBq/m³)",
         "\nSensitivity (Slow): 0.6 cph/(pCi/L)\nSensitivity (Fast): 0.4 cph/(pCi/L)"},
        // A zero word has no line.
        {1, 1, 2, {0, 40, 0, 0, 0, 0}, 0, "Dosika, SN:321, SW:2",
         "\nSensitivity (Slow): 0.25 cpm/(kBq/m³)",
         "\nSensitivity (Slow): 0.6 cph/(pCi/L)"},
        {1, 2, 5, {78, 1, 1, 1, 1, 1}, 0, "Dosika-PRO, SN:321, SW:5",
         "\nSensitivity (Progeny): 78.00 min/L",
         "\nSensitivity (Progeny): 78.00 min/L"},
        {1, 6, 1, {12, 1, 1, 1, 1, 1}, 0, "Analogous Senra-P, SN:321, SW:1",
         "\nSensitivity (Progeny): 12.00 min/L",
         "\nSensitivity (Progeny): 12.00 min/L"},
        // Fast 12.3, Slow 4.5, T214 7, T216 9, Thoron 20.1; US 27.306, 9.99 (3 digits: 10.0), 44.622.
        {1, 4, 3, {123, 45, 7, 9, 201, 1}, 0, "KVX5210, SN:321, SW:3",
         "\nSensitivity (Slow): 4.50 cpm/(kBq/m³)\nSensitivity (Fast): 12.30 cpm/(kBq/m³)\n"
         "Sensitivity (Thoron): 20.10 cpm/(kBq/m³)\n"
         "Tailing Po-216 -> Po-218: 9.00 %\nTailing Po-214 -> Po-216: 7.00 %",
         "\nSensitivity (Slow): 10.0 cph/(pCi/L)\nSensitivity (Fast): 27.3 cph/(pCi/L)\n"
         "Sensitivity (Thoron: 44.6 cph/(pCi/L))\n"
         "Tailing Po-216 -> Po-218: 9.00 %\nTailing Po-214 -> Po-216: 7.00 %"},
        // Integer parts longer than the digits allowed: Fast 6553.5 (US 14548.77), T214 12345.
        {1, 5, 3, {65535, 10, 12345, 0, 0, 0}, 0, "Analogous Senra-R, SN:321, SW:3",
         "\nSensitivity (Slow): 1.00 cpm/(kBq/m³)\nSensitivity (Fast): 6554.00 cpm/(kBq/m³)\n"
         "Sensitivity (Thoron): 0.00 cpm/(kBq/m³)\n"
         "Tailing Po-216 -> Po-218: 0.00 %\nTailing Po-214 -> Po-216: 1.235E+04 %",
         "\nSensitivity (Slow): 2.2 cph/(pCi/L)\nSensitivity (Fast): 1.45E+04 cph/(pCi/L)\n"
         "Sensitivity (Thoron: 0.0 cph/(pCi/L))\n"
         "Tailing Po-216 -> Po-218: 0.00 %\nTailing Po-214 -> Po-216: 1.235E+04 %"},
        {1, 3, 4, {11, 22, 33, 44, 55, 66}, 0, "Morvel, SN:321, SW:4", "", ""},
        {1, 9, 4, {11, 22, 33, 44, 55, 66}, 0, "321, SW:4", "", ""},
    };
    for (const TCase& c : cases) {
        Set(c.Family, c.Type, c.Software, c.Words, c.SetupWord);
        EXPECT_EQ(Text(Si), Expected(c, false)) << "type " << int{c.Type};
        EXPECT_EQ(Text(Us), Expected(c, true)) << "type " << int{c.Type};
    }
}

TEST_F(CalibrationConstants, HalvoFamily) {
    const TCase cases[] = {
        {2, 1, 3, {1234, 5678, 9012, 3456, 0, 0}, 0, "Halvo, (1) SN:321, SW:3",
         "\nK (20°C/50%rH): 1.23 cpm/(kBq/m³)\nK0: 5.68 cpm/(kBq/m³)\nK1: 9.01 g/m³\nK2: 3.46 cpm/(kBq/m³)",
         "\nK (20°C/50%rH): 1.23 cpm/(kBq/m³)\nK0: 5.68 cpm/(kBq/m³)\nK1: 9.01 g/m³\nK2: 3.46 cpm/(kBq/m³)"},
        // Types 2, 3, 7, 8, 9: the slow sensitivity alone; 65 × 2.22 = 144.3 keeps 3 digits.
        {2, 2, 8, {2500, 7, 7, 7, 7, 7}, 0, "Halvo, SN:321, SW:8",
         "\nSensitivity (Slow): 2.50 cpm/(kBq/m³)",
         "\nSensitivity (Slow): 5.6 cph/(pCi/L)"},
        {2, 3, 10, {1000, 7, 7, 7, 7, 7}, 0, "Halvo Plus, SN:321, SW:10",
         "\nSensitivity (Slow): 1.00 cpm/(kBq/m³)",
         "\nSensitivity (Slow): 2.2 cph/(pCi/L)"},
        {2, 7, 4, {4321, 7, 7, 7, 7, 7}, 0, "Halvo Home, SN:321, SW:4",
         "\nSensitivity (Slow): 4.32 cpm/(kBq/m³)",
         "\nSensitivity (Slow): 9.6 cph/(pCi/L)"},
        {2, 8, 4, {10000, 7, 7, 7, 7, 7}, 0, "Halvo Home P, SN:321, SW:4",
         "\nSensitivity (Slow): 10.00 cpm/(kBq/m³)",
         "\nSensitivity (Slow): 22.2 cph/(pCi/L)"},
        {2, 9, 4, {65000, 7, 7, 7, 7, 7}, 0, "Halvo Home CO2, SN:321, SW:4",
         "\nSensitivity (Slow): 65.00 cpm/(kBq/m³)",
         "\nSensitivity (Slow): 144.0 cph/(pCi/L)"},
        // Types 4, 6, 10: T214 low and T216 high byte of 0x0A03, T212a low (20) and T212b
        // high byte (40) of 0x2814 in tenths, ratio 56789 / 100000.
        {2, 4, 12, {12000, 6000, 8000, 0x0A03, 0x2814, 56789}, 0, "KVX5210-2, SN:321, SW:12",
         "\nSensitivity (Slow): 12.00 cpm/(kBq/m³)\nSensitivity (Fast): 6.00 cpm/(kBq/m³)\n"
         "Sensitivity (Thoron): 8.00 cpm/(kBq/m³)\n"
         "Tailing Po-216 -> Po-218: 10.00 %\nTailing Po-214 -> Po-216: 3.00 %\n"
         "Tailing Po-212 -> Po-214: 2.00 %\nTailing Po-212 -> Po-216: 4.00 %\nRatio Bi-212 / Po-212: 0.5679",
         "\nSensitivity (Slow): 26.6 cph/(pCi/L)\nSensitivity (Fast): 13.3 cph/(pCi/L)\n"
         "Sensitivity (Thoron: 17.8 cph/(pCi/L))\n"
         "Tailing Po-216 -> Po-218: 10.00 %\nTailing Po-214 -> Po-216: 3.00 %\n"
         "Tailing Po-212 -> Po-214: 2.00 %\nTailing Po-212 -> Po-216: 4.00 %\nRatio Bi-212 / Po-212: 0.5679"},
        // Firmware 2: no Po-212 lines.
        {2, 10, 2, {2000, 1000, 3000, 0x0A03, 0x2814, 56789}, 0, "KVX5210-2 Geo, SN:321, SW:2",
         "\nSensitivity (Slow): 2.00 cpm/(kBq/m³)\nSensitivity (Fast): 1.00 cpm/(kBq/m³)\n"
         "Sensitivity (Thoron): 3.00 cpm/(kBq/m³)\n"
         "Tailing Po-216 -> Po-218: 10.00 %\nTailing Po-214 -> Po-216: 3.00 %",
         "\nSensitivity (Slow): 4.4 cph/(pCi/L)\nSensitivity (Fast): 2.2 cph/(pCi/L)\n"
         "Sensitivity (Thoron: 6.7 cph/(pCi/L))\n"
         "Tailing Po-216 -> Po-218: 10.00 %\nTailing Po-214 -> Po-216: 3.00 %"},
        {2, 6, 3, {1500, 500, 2500, 0x0102, 0x0304, 100}, 0, "Thoron-Halvo, SN:321, SW:3",
         "\nSensitivity (Slow): 1.50 cpm/(kBq/m³)\nSensitivity (Fast): 0.50 cpm/(kBq/m³)\n"
         "Sensitivity (Thoron): 2.50 cpm/(kBq/m³)\n"
         "Tailing Po-216 -> Po-218: 1.00 %\nTailing Po-214 -> Po-216: 2.00 %\n"
         "Tailing Po-212 -> Po-214: 0.40 %\nTailing Po-212 -> Po-216: 0.30 %\nRatio Bi-212 / Po-212: 0.0010",
         "\nSensitivity (Slow): 3.3 cph/(pCi/L)\nSensitivity (Fast): 1.1 cph/(pCi/L)\n"
         "Sensitivity (Thoron: 5.6 cph/(pCi/L))\n"
         "Tailing Po-216 -> Po-218: 1.00 %\nTailing Po-214 -> Po-216: 2.00 %\n"
         "Tailing Po-212 -> Po-214: 0.40 %\nTailing Po-212 -> Po-216: 0.30 %\nRatio Bi-212 / Po-212: 0.0010"},
        // Type 5: the chamber in bits 5 and 6 picks the word; the other bits are set around it.
        {2, 5, 12, {1111, 2222, 3333, 4444, 0, 0}, 0x9F, "Halvo PMT, SN:321, SW:12",
         "\nSensitivity (Slow): 1.11 cpm/(kBq/m³); Chamber size \"S\"",
         "\nSensitivity (Slow): 2.5 cph/(pCi/L); Chamber size \"S\""},
        {2, 5, 12, {1111, 2222, 3333, 4444, 0, 0}, 0x9F | 0x20, "Halvo PMT, SN:321, SW:12",
         "\nSensitivity (Slow): 2.22 cpm/(kBq/m³); Chamber size \"M\"",
         "\nSensitivity (Slow): 4.9 cph/(pCi/L); Chamber size \"M\""},
        {2, 5, 12, {1111, 2222, 3333, 4444, 0, 0}, 0x9F | 0x40, "Halvo PMT, SN:321, SW:12",
         "\nSensitivity (Slow): 3.33 cpm/(kBq/m³); Chamber size \"L\"",
         "\nSensitivity (Slow): 7.4 cph/(pCi/L); Chamber size \"L\""},
        {2, 5, 12, {1111, 2222, 3333, 4444, 0, 0}, 0xFF, "Halvo PMT, SN:321, SW:12",
         "\nSensitivity (Slow): 4.44 cpm/(kBq/m³); Chamber size \"XL\"",
         "\nSensitivity (Slow): 9.9 cph/(pCi/L); Chamber size \"XL\""},
        {2, 0, 12, {1111, 2222, 3333, 4444, 0, 0}, 0, "321, SW:12", "", ""},
    };
    for (const TCase& c : cases) {
        Set(c.Family, c.Type, c.Software, c.Words, c.SetupWord);
        EXPECT_EQ(Text(Si), Expected(c, false)) << "type " << int{c.Type} << ", setup " << c.SetupWord;
        EXPECT_EQ(Text(Us), Expected(c, true)) << "type " << int{c.Type} << ", setup " << c.SetupWord;
    }
}

TEST_F(CalibrationConstants, TextsGoThroughTheLookupAndAnInvalidSetHasNone) {
    Set(2, 5, 12, {1111, 2222, 3333, 4444, 0, 0}, 0x40);
    const TTranslate marked = [](const std::string& text) { return "[" + text + "]"; };
    EXPECT_EQ(Text(Si, marked), "[Calibration Constants for ]Halvo PMT, SN:321, SW:12\n\n"
                                "[Sensitivity (Slow): ]3.33[ cpm/(kBq/m³)][; Chamber size \"L\"]");
    Data->Valid = false;
    EXPECT_FALSE(CalibrationConstantsText(*Data, Si, marked).has_value());
}

} // namespace
} // namespace lumetra

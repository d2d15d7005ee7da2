#include "evaluation/CalibrationConstants.h"

#include "core/DeviceIdentification.h"
#include "core/NumberFormat.h"

#include <array>

namespace lumetra {
namespace {

// The constants a data set can carry; each is absent until its type sets it.
struct TCalibrationValues {
    std::optional<Real> Slow, Fast, Thoron, Progeny, T216, T214, T212a, T212b, Ratio, K, K0, K1, K2;
    std::optional<unsigned> Chamber; // Halvo PMT: the chamber size code, 0..3
};

Byte LowByte(Word value) { return static_cast<Byte>(value & 0xFF); }
Byte HighByte(Word value) { return static_cast<Byte>(value >> 8); }

TCalibrationValues DosikaValues(Byte type, const Array1<Word, 6>& u) {
    TCalibrationValues v;
    switch (type) {
    case 1: // ten over the word; a zero word has no sensitivity
        if (u[1] != 0)
            v.Fast = 10.0 / u[1];
        if (u[2] != 0)
            v.Slow = 10.0 / u[2];
        break;
    case 2:
    case 6:
        v.Progeny = u[1];
        break;
    case 4:
    case 5:
        v.Fast = u[1] / 10.0;
        v.Slow = u[2] / 10.0;
        v.T214 = u[3];
        v.T216 = u[4];
        v.Thoron = u[5] / 10.0;
        break;
    default:
        break;
    }
    return v;
}

TCalibrationValues HalvoValues(Byte type, const Array1<Word, 6>& u, Word setupWord) {
    TCalibrationValues v;
    switch (type) {
    case 1:
        v.K = u[1] / 1000.0;
        v.K0 = u[2] / 1000.0;
        v.K1 = u[3] / 1000.0;
        v.K2 = u[4] / 1000.0;
        break;
    case 2:
    case 3:
    case 7:
    case 8:
    case 9:
        v.Slow = u[1] / 1000.0;
        break;
    case 4:
    case 6:
    case 10:
        v.Slow = u[1] / 1000.0;
        v.Fast = u[2] / 1000.0;
        v.Thoron = u[3] / 1000.0;
        v.T214 = LowByte(u[4]);
        v.T216 = HighByte(u[4]);
        v.T212a = LowByte(u[5]) / 10.0;
        v.T212b = HighByte(u[5]) / 10.0;
        v.Ratio = u[6] / 100000.0;
        break;
    case 5: {
        // Each chamber size has its own calibration word.
        const unsigned chamber = (setupWord >> 5) & 3u;
        v.Chamber = chamber;
        v.Slow = u[chamber + 1] / 1000.0;
        break;
    }
    default:
        break;
    }
    return v;
}

class TLines {
public:
    TLines(const TTranslate& translate, bool us) : Translate(translate), Us(us) {}

    void Sensitivity(const std::optional<Real>& value, const char* text, const char* usText,
                     const char* usUnit, const std::string& remark = {}) {
        if (!value)
            return;
        if (Us)
            Add(usText, FormatFixed(*value * 2.22, 3, 1), T(usUnit) + remark);
        else
            Add(text, FormatFixed(*value, 4, 2), T(" cpm/(kBq/m³)") + remark);
    }
    void Value(const std::optional<Real>& value, const char* text, const char* unit) {
        if (value)
            Add(text, FormatFixed(*value, 4, 2), T(unit));
    }
    void Ratio(const std::optional<Real>& value) {
        if (value)
            Add("Ratio Bi-212 / Po-212: ", FormatFixed(*value, 6, 4), {});
    }
    std::string T(const std::string& english) const { return Translate ? Translate(english) : english; }

    std::string Text;

private:
    void Add(const char* text, const std::string& number, const std::string& unit) {
        Text += "\n" + T(text) + number + unit;
    }

    const TTranslate& Translate;
    bool Us;
};

constexpr std::array<const char*, 4> ChamberRemarks = {"; Chamber size \"S\"", "; Chamber size \"M\"",
                                                       "; Chamber size \"L\"", "; Chamber size \"XL\""};

} // namespace

std::optional<std::string> CalibrationConstantsText(const TInstrumentData& data, const TPhysicalUnits& units,
                                                    const TTranslate& translate) {
    if (!data.Valid)
        return std::nullopt;
    const TInstrumentHeader& header = data.Header;
    TCalibrationValues v;
    if (header.DeviceFamily == FamilyDosika)
        v = DosikaValues(header.DeviceType, header.UniCon);
    else if (header.DeviceFamily == FamilyHalvo)
        v = HalvoValues(header.DeviceType, header.UniCon, data.Setup.SetupWord);

    TLines lines(translate, units.SelectedUnits == UnitsUS);
    std::string description;
    DeviceDescription(header.DeviceFamily, header.DeviceType, static_cast<Word>(header.DeviceNumber & 0xFFFF),
                      description, header.SoftwareVersion);
    lines.Text = lines.T("Calibration Constants for ") + description + "\n";

    const std::string remark = v.Chamber ? lines.T(ChamberRemarks[*v.Chamber]) : std::string();
    lines.Sensitivity(v.Slow, "Sensitivity (Slow): ", "Sensitivity (Slow): ", " cph/(pCi/L)", remark);
    lines.Sensitivity(v.Fast, "Sensitivity (Fast): ", "Sensitivity (Fast): ", " cph/(pCi/L)");
    lines.Sensitivity(v.Thoron, "Sensitivity (Thoron): ", "Sensitivity (Thoron: ", " cph/(pCi/L))");
    lines.Value(v.Progeny, "Sensitivity (Progeny): ", " min/L");
    lines.Value(v.T216, "Tailing Po-216 -> Po-218: ", " %");
    lines.Value(v.T214, "Tailing Po-214 -> Po-216: ", " %");
    // Calibration words 5 and 6 are read from firmware 3 on only.
    if (header.SoftwareVersion >= 3) {
        lines.Value(v.T212a, "Tailing Po-212 -> Po-214: ", " %");
        lines.Value(v.T212b, "Tailing Po-212 -> Po-216: ", " %");
        lines.Ratio(v.Ratio);
    }
    lines.Value(v.K, "K (20°C/50%rH): ", " cpm/(kBq/m³)");
    lines.Value(v.K0, "K0: ", " cpm/(kBq/m³)");
    lines.Value(v.K1, "K1: ", " g/m³");
    lines.Value(v.K2, "K2: ", " cpm/(kBq/m³)");
    return lines.Text;
}

} // namespace lumetra

#include "dosika/DosikaSimOptions.h"

#include "common/SimKeyValues.h"

namespace lumetra::sim {

namespace {

bool SetKey(const std::string& key, const std::string& value, TDkSimValues& v) {
    if (key == "radon" || key == "thoron") {
        return ParseSimField(value, INT32_MIN, INT32_MAX, key == "radon" ? v.RadonValue : v.ThoronValue);
    }
    if (key == "aout1" || key == "aout2") {
        return ParseSimField(value, 0, 0xFFFF, key == "aout1" ? v.AOut1Value : v.AOut2Value);
    }
    std::uint8_t* const byte = key == "radon-error"        ? &v.RadonError
                               : key == "thoron-error"     ? &v.ThoronError
                               : key == "temperature-code" ? &v.TemperatureCode
                               : key == "humidity-code"    ? &v.HumidityCode
                               : key == "status"           ? &v.Status
                                                           : nullptr;
    return byte != nullptr && ParseSimField(value, 0, 0xFF, *byte);
}

} // namespace

bool ParseDkValues(const std::string& text, TDkSimValues& values, std::string& error) {
    const auto set = [&](const std::string& key, const std::string& value) { return SetKey(key, value, values); };
    return ApplySimKeyValues(text, "analog values", set, error);
}

} // namespace lumetra::sim

#include "halvo/HalvoSimOptions.h"

#include "common/SimKeyValues.h"

#include <cstdio>

namespace lumetra::sim {

namespace {

bool ParseTime(const std::string& text, THalvoRecent& recent) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, used = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d%n", &year, &month, &day, &hour, &minute, &used) != 5 ||
        static_cast<std::size_t>(used) != text.size() || year < 2000 || year > 2255 || month < 1 || month > 12 ||
        day < 1 || day > 31 || hour > 23 || minute > 59) {
        return false;
    }
    recent.Year = static_cast<std::uint8_t>(year - 2000);
    recent.Month = static_cast<std::uint8_t>(month);
    recent.Day = static_cast<std::uint8_t>(day);
    recent.Hour = static_cast<std::uint8_t>(hour);
    recent.Minute = static_cast<std::uint8_t>(minute);
    return true;
}

bool SetKey(const std::string& key, const std::string& value, THalvoRecent& r) {
    if (key == "interval") {
        return ParseSimField(value, 0, 255, r.Interval);
    }
    if (key == "time") {
        return ParseTime(value, r);
    }
    if (key == "radon-error") {
        return ParseSimField(value, 0, 255, r.RadonError);
    }
    if (key == "radon2-error") {
        return ParseSimField(value, 0, 255, r.Radon2Error);
    }
    if (key == "tilts") {
        return ParseSimField(value, INT32_MIN, INT32_MAX, r.Tilts);
    }
    float* const number = key == "radon"         ? &r.Radon
                          : key == "radon2"      ? &r.Radon2
                          : key == "temperature" ? &r.Temperature
                          : key == "humidity"    ? &r.Humidity
                          : key == "pressure"    ? &r.Pressure
                                                 : nullptr;
    return number != nullptr && ParseSimFloat(value, *number);
}

} // namespace

bool ParseHalvoRecent(const std::string& text, THalvoRecent& recent, std::string& error) {
    const auto set = [&](const std::string& key, const std::string& value) { return SetKey(key, value, recent); };
    return ApplySimKeyValues(text, "recent readings", set, error);
}

bool HalvoBatteryFits(std::uint8_t type, std::uint16_t raw) { return HalvoIsSpectrumType(type) || raw <= 0xFF; }

} // namespace lumetra::sim

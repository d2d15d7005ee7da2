#pragma once
// Instrument time stamps and their conversions. A stamp keeps the instrument's own
// calendar fields; arithmetic goes through a date-time value (days since 30 December
// 1899, the time of day as the fraction), text through the user's locale.

#include "core/BasicTypes.h"

#include <string>

namespace lumetra {

struct TDeviceTime {
    Word Second = 0;
    Word Minute = 0;
    Word Hour = 0;
    Word Day = 0;
    Word Month = 0;
    Word Year = 0;
    bool operator==(const TDeviceTime&) const = default;
};
static_assert(sizeof(TDeviceTime) == 12);

using TDateTime = double;

// A stamp from calendar fields; for tests and simulators.
TDeviceTime MakeDeviceTime(int year, int month, int day, int hour, int minute, int second = 0);

TDateTime DeviceTimeToDateTime(TDeviceTime t);
TDeviceTime FixLeapDay(TDeviceTime t);
TDeviceTime AddMinutes(TDeviceTime t, Integer minutes);
TDeviceTime SubtractMinutes(TDeviceTime t, Word minutes);
Integer MinutesBetween(TDeviceTime later, TDeviceTime earlier);

// Texts in the user's locale (LC_TIME short date %x, long time %X).
std::string DateTimeText(TDeviceTime t);
std::string TimeText(TDeviceTime t);
std::string DateText(TDeviceTime t);

// Fixed-format text independent of the locale. mode 3: date and time, 4: time, 5: date
// followed by a blank; style 2 uses "/" and ":", any other style "_" and "-".
std::string FormatDeviceTime(Byte mode, Byte style, TDeviceTime t);

} // namespace lumetra

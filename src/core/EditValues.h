#pragma once
// The numbers a user types into the edits of the setup windows (and the same values
// given on the command line): read as the windows read them, and checked against the
// field they go into, so that a number is never written other than it was typed.

#include "core/UserInterface.h"

#include <optional>
#include <string>

namespace lumetra {

// A decimal integer, with an optional sign and blanks around it (one beyond 64 bits is
// held at the nearest end); nothing for any other text, an empty one included.
std::optional<long long> ParseIntegerText(const std::string& text);

// A decimal number with the locale's separator or a full stop, optional sign and
// blanks around it; nothing for any other text or a number that is not finite.
std::optional<double> ParseNumberText(const std::string& text);

// The field an edit's value goes into: its label as the window shows it (English; it
// is translated for the message) and the values it can hold.
struct TFieldRange {
    const char* Label;
    long long Minimum;
    long long Maximum;
};

constexpr long long ByteMaximum = 255;
constexpr long long WordMaximum = 65535;

// The message for a number that does not fit its field, naming the field and its range.
std::string OutOfRangeMessage(const TFieldRange& field, const TTranslate& translate);

// The value of an integer edit: its number, or `fallback` when the text is not an
// integer (as the windows have always done). A number outside the field's range gives
// nothing and sets `error` to the message that names the field.
std::optional<long long> IntegerFromEdit(const std::string& text, long long fallback, const TFieldRange& field,
                                         const TTranslate& translate, std::string& error);

} // namespace lumetra

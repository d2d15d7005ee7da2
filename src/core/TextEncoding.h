#pragma once
// Texts are UTF-8 in memory; the data files keep their strings in Windows-1252.

#include <string>
#include <string_view>

namespace lumetra {

// Characters without a Windows-1252 form become '?'; malformed UTF-8 bytes too.
std::string Utf8ToWindows1252(std::string_view utf8);
std::string Windows1252ToUtf8(std::string_view ansi);

// The first `maxCharacters` characters of a UTF-8 text (never cutting a sequence).
std::string Utf8Prefix(std::string_view utf8, std::size_t maxCharacters);

} // namespace lumetra

#include "core/GlobalDefinitions.h"

#include "core/TextEncoding.h"

#include <algorithm>

namespace lumetra {

void SetComment(TInstrumentData& data, const std::string& utf8Text) {
    // Cut by the characters the file can hold, then keep the UTF-8 form of exactly those.
    const std::string ansi = Utf8ToWindows1252(utf8Text).substr(0, CommentCapacity);
    data.Comment = Windows1252ToUtf8(ansi);
}

void ClearInstrumentData(TInstrumentData& data) {
    data.Comment.clear();
    data.Valid = false;
    data.NumberOfRecords = 0;
    data.Header = TInstrumentHeader{};
    data.Setup = TInstrumentSetup{};
    data.Spectrum = TDosikaSpectrum{};
    std::fill_n(data.Records.data(), MaxRecords, TInstrumentRecord{});
}

} // namespace lumetra

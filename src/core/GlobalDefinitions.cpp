#include "core/GlobalDefinitions.h"

#include "core/TextEncoding.h"

namespace lumetra {

void SetComment(TInstrumentData& data, const std::string& utf8Text) {
    // Cut by the characters the file can hold, then keep the UTF-8 form of exactly those.
    const std::string ansi = Utf8ToWindows1252(utf8Text).substr(0, CommentCapacity);
    data.Comment = Windows1252ToUtf8(ansi);
}

} // namespace lumetra

#include "i18n/Translation.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>

namespace lumetra {
namespace {

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// Reads one double-quoted string with \" \\ \n \t escapes starting at `pos`.
bool ReadQuoted(std::string_view line, std::size_t& pos, std::string& out) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
        ++pos;
    }
    if (pos >= line.size() || line[pos] != '"') {
        return false;
    }
    ++pos;
    out.clear();
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == '"') {
            return true;
        }
        if (c == '\\') {
            if (pos >= line.size()) {
                return false;
            }
            const char e = line[pos++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            default: return false;
            }
        } else {
            out += c;
        }
    }
    return false;
}

bool OnlyBlanksAfter(std::string_view line, std::size_t pos) { return Trim(line.substr(pos)).empty(); }

} // namespace

TTranslationCatalog::TTranslationCatalog() { Reset(); }

void TTranslationCatalog::Reset() {
    CultureList = {{"en", "English", "English"}};
    Selected = 0;
    Texts.clear();
    EntryOrder.clear();
    ProblemList.clear();
}

bool TTranslationCatalog::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Reset();
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        Reset();
        return false;
    }
    LoadFromText(text);
    return true;
}

void TTranslationCatalog::LoadFromText(std::string_view text) {
    Reset();
    std::string currentEntry;
    bool haveEntry = false;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == '#') {
            if (end == text.size()) {
                break;
            }
            continue;
        }
        const auto problem = [&](const char* what) {
            ProblemList.push_back("line " + std::to_string(lineNumber) + ": " + what);
        };
        const auto space = line.find_first_of(" \t");
        const std::string keyword(line.substr(0, space));
        std::size_t pos = space == std::string_view::npos ? line.size() : space;
        if (keyword == "culture") {
            const auto rest = Trim(line.substr(pos));
            const auto codeEnd = rest.find_first_of(" \t");
            TCulture culture;
            culture.Code = std::string(rest.substr(0, codeEnd));
            std::size_t p = codeEnd == std::string_view::npos ? rest.size() : codeEnd;
            if (culture.Code.empty() || !ReadQuoted(rest, p, culture.EnglishName) ||
                !ReadQuoted(rest, p, culture.NativeName) || !OnlyBlanksAfter(rest, p)) {
                problem("a culture needs a code, an English name and a native name");
            } else if (culture.Code == "en") {
                CultureList.front() = culture;
            } else {
                CultureList.push_back(culture);
            }
        } else if (keyword == "msgid") {
            std::string english;
            if (!ReadQuoted(line, pos, english) || !OnlyBlanksAfter(line, pos)) {
                problem("malformed msgid");
                haveEntry = false;
            } else {
                currentEntry = english;
                haveEntry = true;
                if (Texts.find(english) == Texts.end()) {
                    EntryOrder.push_back(english);
                }
                Texts[english];
            }
        } else {
            std::string translated;
            if (!haveEntry) {
                problem("translation without a msgid");
            } else if (!ReadQuoted(line, pos, translated) || !OnlyBlanksAfter(line, pos)) {
                problem("malformed translation");
            } else {
                Texts[currentEntry][keyword] = translated;
            }
        }
        if (end == text.size()) {
            break;
        }
    }
}

bool TTranslationCatalog::SelectCulture(int index) {
    if (index < 0 || index >= static_cast<int>(CultureList.size())) {
        return false;
    }
    Selected = index;
    return true;
}

std::string TTranslationCatalog::EnglishLanguageName(int index) const {
    if (index < 0 || index >= static_cast<int>(CultureList.size())) {
        return {};
    }
    return CultureList[static_cast<std::size_t>(index)].EnglishName;
}

std::string TTranslationCatalog::Translate(const std::string& english) const {
    const auto entry = Texts.find(english);
    if (entry == Texts.end()) {
        return english;
    }
    const auto text = entry->second.find(CultureList[static_cast<std::size_t>(Selected)].Code);
    return text == entry->second.end() ? english : text->second;
}

bool TTranslationCatalog::HasTranslation(const std::string& english, const std::string& cultureCode) const {
    const auto entry = Texts.find(english);
    return entry != Texts.end() && entry->second.count(cultureCode) != 0;
}

bool ReadLanguageFile(const std::string& path, int& index) {
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return false;
    }
    const std::string_view digits = Trim(line);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size() || digits.empty()) {
        return false;
    }
    index = value;
    return true;
}

bool WriteLanguageFile(const std::string& path, int index) {
    std::ofstream out(path, std::ios::trunc);
    out << index << '\n';
    out.flush();
    return static_cast<bool>(out);
}

} // namespace lumetra

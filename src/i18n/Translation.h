#pragma once
// The translation lookup: texts are looked up by their English text in the catalog
// "Lumetra_Languages.i18n" and shown in the selected culture's language. Culture 0 is
// always English, the language the program is written in; a missing catalog or entry
// gives the English text.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumetra {

constexpr const char* CatalogFileName = "Lumetra_Languages.i18n";
constexpr const char* LanguageFileName = "lang";

struct TCulture {
    std::string Code;        // "en", "de", ...
    std::string EnglishName; // "German"
    std::string NativeName;  // "Deutsch"
};

class TTranslationCatalog {
public:
    TTranslationCatalog();

    // Replaces the catalog with the file's content; false when the file cannot be read
    // (the catalog is then English only). Malformed lines are skipped and listed in
    // Problems().
    bool LoadFromFile(const std::string& path);
    void LoadFromText(std::string_view text);

    const std::vector<TCulture>& Cultures() const { return CultureList; }
    int SelectedCulture() const { return Selected; }
    // Selects a culture by index; an index outside the list leaves the selection.
    bool SelectCulture(int index);
    std::string EnglishLanguageName(int index) const;

    std::string Translate(const std::string& english) const;
    // The English texts that have an entry, in catalog order.
    const std::vector<std::string>& Entries() const { return EntryOrder; }
    bool HasTranslation(const std::string& english, const std::string& cultureCode) const;
    const std::vector<std::string>& Problems() const { return ProblemList; }

private:
    void Reset();

    std::vector<TCulture> CultureList;
    int Selected = 0;
    // English text -> (culture code -> text)
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> Texts;
    std::vector<std::string> EntryOrder;
    std::vector<std::string> ProblemList;
};

// The language file holds the selected culture index as its first line. No value when
// the file is missing or its first line is not a decimal number.
bool ReadLanguageFile(const std::string& path, int& index);
bool WriteLanguageFile(const std::string& path, int index);

} // namespace lumetra

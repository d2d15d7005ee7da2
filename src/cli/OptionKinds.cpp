#include "cli/OptionKinds.h"

#include "core/EditValues.h"
#include "core/NumberFormat.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace lumetra::cli {

// The descriptions stay empty: the help shows the value's name the option gives it.

CLI::Validator DecimalNumber() {
    return CLI::Validator(
        [](const std::string& text) {
            const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                             [](char c) { return c >= '0' && c <= '9'; });
            if (!digits || (text.size() > 1 && text[0] == '0')) {
                return "'" + text + "' is not a plain decimal number";
            }
            return std::string();
        },
        "");
}

CLI::Validator DecimalFraction() {
    return CLI::Validator(
        [](const std::string& text) {
            const char separator = LocaleDecimalSeparator();
            // Read as the edits read it, so the value checked is the value sent.
            const bool plain = std::all_of(text.begin(), text.end(), [separator](char c) {
                return (c >= '0' && c <= '9') || c == '.' || c == separator;
            });
            if (!plain || !ParseNumberText(text)) {
                return "'" + text + "' is not a plain decimal number";
            }
            return std::string();
        },
        "");
}

CLI::Validator NativeFileName() {
    return CLI::Validator(
        [](const std::string& text) {
            if (std::filesystem::path(text).extension() != ".lmx") {
                return "the file name must end in \".lmx\": " + text;
            }
            return std::string();
        },
        "");
}

CLI::Validator OneOf(std::initializer_list<std::string> words) {
    return CLI::IsMember(std::vector<std::string>(words)).description("");
}

CLI::Option* AddPortsDirOption(CLI::App& command, std::string& directory) {
    return command
        .add_option(
            "--ports-dir", directory,
            "look for the serial devices in DIR instead of /dev (names as there: ttyS0, ttyUSB1, ...; "
            "links to devices count)")
        ->type_name("DIR");
}

CLI::Option* AddFlag(CLI::App& command, const std::string& name, bool& value,
                     const std::string& description) {
    // A flag given without a value reads as "true"; "--flag=true" cannot be told apart
    // from it and is let through.
    return command.add_flag(name, value, description)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
        ->check(CLI::Validator(
            [](const std::string& text) {
                return text == "true" ? std::string() : std::string("takes no value");
            },
            ""));
}

} // namespace lumetra::cli

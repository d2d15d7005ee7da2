#include "cli/CliOptions.h"

namespace lumetra::cli {
namespace {

const TCliOptionSyntax* FindOption(const TCliCommandSyntax& syntax, const std::string& name) {
    for (const auto& option : syntax.Options) {
        if (option.Name == name) {
            return &option;
        }
    }
    return nullptr;
}

bool LooksLikeOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

} // namespace

std::optional<std::string> TCliOptions::Value(const std::string& name) const {
    const auto it = Values.find(name);
    if (it == Values.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool ParseCliOptions(const std::vector<std::string>& args, const TCliCommandSyntax& syntax,
                     TCliOptions& options, std::string& error) {
    options = {};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || !LooksLikeOption(word)) {
            options.Positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = word;
        std::optional<std::string> inlineValue;
        if (const auto equals = word.find('='); word.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = word.substr(0, equals);
            inlineValue = word.substr(equals + 1);
        }
        const TCliOptionSyntax* option = FindOption(syntax, name);
        if (option == nullptr) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (!option->TakesValue) {
            if (inlineValue) {
                error = "option '" + name + "' takes no value";
                return false;
            }
            options.Flags.insert(name);
            continue;
        }
        if (options.Values.count(name) != 0) {
            error = "option '" + name + "' given more than once";
            return false;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                error = "option '" + name + "' needs a value";
                return false;
            }
            inlineValue = args[++i];
        }
        options.Values[name] = *inlineValue;
    }
    if (options.Positional.size() < syntax.MinPositional) {
        const std::size_t missing = options.Positional.size();
        error = missing < syntax.PositionalNames.size() ? "missing " + syntax.PositionalNames[missing]
                                                        : std::string("missing argument");
        return false;
    }
    if (options.Positional.size() > syntax.MaxPositional) {
        error = "unexpected argument '" + options.Positional[syntax.MaxPositional] + "'";
        return false;
    }
    return true;
}

bool RequestsHelp(const std::vector<std::string>& args) {
    for (const auto& word : args) {
        if (word == "--") {
            return false;
        }
        if (word == "--help") {
            return true;
        }
    }
    return false;
}

} // namespace lumetra::cli

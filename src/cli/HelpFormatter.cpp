#include "cli/HelpFormatter.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace lumetra::cli {
namespace {

constexpr std::size_t LineWidth = 80;

// "--units si|us", or the bare name of a flag.
std::string OptionLabel(const CLI::Option& option) {
    const std::string name = option.get_name();
    return option.get_items_expected_max() == 0 ? name : name + " " + option.get_type_name();
}

// The text filled into lines of at most LineWidth columns, each after `indent` columns;
// the first line starts where the label left off. A '\n' in the text starts a new line.
void PutWrapped(std::ostream& out, const std::string& text, std::size_t indent) {
    std::istringstream lines(text);
    std::string line;
    bool firstLine = true;
    while (std::getline(lines, line)) {
        if (!firstLine) {
            out << '\n' << std::string(indent, ' ');
        }
        firstLine = false;
        std::istringstream words(line);
        std::string word;
        std::size_t column = indent;
        bool firstWord = true;
        while (words >> word) {
            if (!firstWord && column + 1 + word.size() > LineWidth) {
                out << '\n' << std::string(indent, ' ');
                column = indent;
                firstWord = true;
            }
            if (!firstWord) {
                out << ' ';
                ++column;
            }
            out << word;
            column += word.size();
            firstWord = false;
        }
    }
    out << '\n';
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

std::string Overview(const CLI::App& app) {
    const std::vector<const CLI::App*> commands = app.get_subcommands([](const CLI::App*) { return true; });
    std::vector<std::string> synopses;
    std::size_t width = 0;
    for (const CLI::App* command : commands) {
        synopses.push_back(Synopsis(*command));
        width = std::max(width, synopses.back().size());
    }
    std::ostringstream out;
    out << "Usage: " << app.get_name() << " COMMAND [ARGS] [OPTIONS]\n"
        << "       " << app.get_name() << " COMMAND --help\n"
        << "\n"
           "Commands:\n";
    for (std::size_t k = 0; k < commands.size(); ++k) {
        out << "  " << synopses[k] << std::string(width - synopses[k].size() + 3, ' ')
            << commands[k]->get_description() << '\n';
    }
    if (const std::string footer = app.get_footer(); !footer.empty()) {
        out << '\n' << footer;
    }
    return out.str();
}

std::string CommandHelp(const CLI::App& command) {
    std::ostringstream out;
    out << "Usage: " << command.get_parent()->get_name() << ' ' << Synopsis(command) << "\n\n"
        << Capitalised(command.get_description()) << ".\n";
    const std::vector<const CLI::Option*> options =
        command.get_options([](const CLI::Option* option) { return !option->get_positional(); });
    std::size_t width = 0;
    for (const CLI::Option* option : options) {
        width = std::max(width, OptionLabel(*option).size());
    }
    if (!options.empty()) {
        out << '\n';
    }
    for (const CLI::Option* option : options) {
        const std::string label = OptionLabel(*option);
        out << "  " << label << std::string(width - label.size() + 2, ' ');
        PutWrapped(out, option->get_description(), width + 4);
    }
    if (const std::string details = command.get_footer(); !details.empty()) {
        out << '\n' << details;
    }
    return out.str();
}

} // namespace

std::string Synopsis(const CLI::App& command) {
    std::string text = command.get_name();
    bool operationsNamed = false;
    for (const bool positional : {true, false}) {
        for (const CLI::Option* option : command.get_options()) {
            if (option->get_positional() != positional) {
                continue;
            }
            if (!positional && option->get_group() == OperationGroup) {
                if (!operationsNamed) {
                    text += " [" + std::string(OperationGroup) + " ...]";
                    operationsNamed = true;
                }
                continue;
            }
            const std::string label = positional ? option->get_name() : OptionLabel(*option);
            text += option->get_required() ? " " + label : " [" + label + "]";
        }
    }
    return text;
}

std::string THelpFormatter::make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const {
    return app->get_parent() == nullptr ? Overview(*app) : CommandHelp(*app);
}

} // namespace lumetra::cli

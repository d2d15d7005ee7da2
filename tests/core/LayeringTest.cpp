// The layers of the code base, read from the sources themselves: every quoted include
// under src/ and sim/ must point down the layer order (or sideways within a layer), Qt
// stays in src/ui, only the window's demo mode reaches into the simulators, and the
// simulators include nothing of src/.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace lumetra::test {
namespace {

namespace fs = std::filesystem;

// Lower numbers lie lower. An include may point to its own layer or below.
const std::map<std::string, int>& LayerOf() {
    static const std::map<std::string, int> layers{
        {"core", 0},  {"i18n", 1},   {"evaluation", 1}, {"files", 1},      {"links", 1},
        {"halvo", 2}, {"dosika", 2}, {"instrument", 3}, {"ui", 4},         {"cli", 4},
    };
    return layers;
}

struct TInclude {
    std::string File; // relative to the source root, e.g. "src/halvo/HalvoProtocol.cpp"
    int Line = 0;
    bool Quoted = false;
    std::string Target; // as written
};

// Where a quoted include lands: "src/<path>" or "sim/<path>"; nothing when it lands in
// neither tree, or in both (a name that two trees share is a trap for the reader).
struct TResolution {
    std::optional<std::string> Path;
    std::string Problem;
};

using TExists = std::function<bool(const std::string&)>;

TResolution Resolve(const std::string& target, const TExists& exists) {
    const bool inSrc = exists("src/" + target);
    const bool inSim = exists("sim/" + target);
    if (inSrc && inSim) {
        return {std::nullopt, "resolves in both src/ and sim/"};
    }
    if (inSrc) {
        return {"src/" + target, {}};
    }
    if (inSim) {
        return {"sim/" + target, {}};
    }
    return {std::nullopt, "resolves to no file below src/ or sim/ (include with the folder prefix)"};
}

std::string FirstFolder(const std::string& path) {
    const auto slash = path.find('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The folder of src/ a file lives in ("src/halvo/X.cpp" -> "halvo").
std::string SourceFolder(const std::string& file) { return FirstFolder(file.substr(file.find('/') + 1)); }

// Empty when the include is allowed; otherwise what is wrong with it.
std::string Violation(const TInclude& include, const TExists& exists) {
    const std::string tree = FirstFolder(include.File);
    if (!include.Quoted) {
        const bool qt = include.Target.rfind("Q", 0) == 0 || include.Target.rfind("qt", 0) == 0;
        if (qt && !(tree == "src" && SourceFolder(include.File) == "ui")) {
            return "Qt outside src/ui";
        }
        return {};
    }
    const TResolution resolution = Resolve(include.Target, exists);
    if (!resolution.Path) {
        return resolution.Problem;
    }
    const std::string targetTree = FirstFolder(*resolution.Path);
    if (tree == "sim") {
        return targetTree == "sim" ? std::string() : "the simulators include nothing of src/";
    }
    const std::string from = SourceFolder(include.File);
    if (targetTree == "sim") {
        return from == "ui" ? std::string() : "only the window's demo mode uses the simulators";
    }
    const std::string to = SourceFolder(*resolution.Path);
    const auto& layers = LayerOf();
    if (layers.count(from) == 0 || layers.count(to) == 0) {
        return "a folder of src/ outside the layer order: " + (layers.count(from) == 0 ? from : to);
    }
    if (layers.at(to) > layers.at(from)) {
        return "points up the layer order, from " + from + " to " + to;
    }
    return {};
}

std::vector<TInclude> IncludesOf(const fs::path& root, const std::string& relative) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<TInclude> includes;
    std::ifstream in(root / relative);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::smatch match;
        if (std::regex_search(line, match, includeLine)) {
            includes.push_back({relative, number, match[1] == "\"", match[2]});
        }
    }
    return includes;
}

TEST(Layering, RuleOnCases) {
    // A small tree: what exists in it.
    const std::vector<std::string> files{"src/core/Errors.h",      "src/evaluation/PhysicalUnits.h",
                                         "src/halvo/HalvoProtocol.h", "src/instrument/InstrumentConnection.h",
                                         "src/ui/MainWindow.h",     "sim/common/SimPty.h",
                                         "sim/core/Errors.h"};
    const TExists exists = [&files](const std::string& path) {
        return std::find(files.begin(), files.end(), path) != files.end();
    };
    struct TCase {
        TInclude Include;
        bool Allowed;
    };
    const TCase cases[] = {
        {{"src/halvo/HalvoDownload.cpp", 1, true, "halvo/HalvoProtocol.h"}, true},
        {{"src/instrument/X.cpp", 1, true, "halvo/HalvoProtocol.h"}, true},
        {{"src/ui/X.cpp", 1, true, "instrument/InstrumentConnection.h"}, true},
        {{"src/files/X.cpp", 1, true, "evaluation/PhysicalUnits.h"}, true},  // sideways
        {{"src/core/X.h", 1, true, "evaluation/PhysicalUnits.h"}, false},   // up
        {{"src/links/X.cpp", 1, true, "halvo/HalvoProtocol.h"}, false},     // up
        {{"src/halvo/X.cpp", 1, true, "instrument/InstrumentConnection.h"}, false},
        {{"src/cli/X.cpp", 1, true, "ui/MainWindow.h"}, true},               // sideways
        {{"src/ui/X.cpp", 1, true, "common/SimPty.h"}, true},                // the demo mode
        {{"src/cli/X.cpp", 1, true, "common/SimPty.h"}, false},
        {{"sim/halvo/X.cpp", 1, true, "common/SimPty.h"}, true},
        {{"sim/halvo/X.cpp", 1, true, "halvo/HalvoProtocol.h"}, false},      // into src/
        {{"sim/halvo/X.cpp", 1, true, "core/Errors.h"}, false},              // in both trees
        {{"src/halvo/X.cpp", 1, true, "HalvoProtocol.h"}, false},            // no prefix
        {{"src/core/X.cpp", 1, false, "QString"}, false},
        {{"sim/common/X.cpp", 1, false, "QtCore/QObject"}, false},
        {{"src/ui/X.cpp", 1, false, "QString"}, true},
        {{"src/core/X.cpp", 1, false, "termios.h"}, true},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Violation(c.Include, exists).empty(), c.Allowed) << c.Include.File << " -> " << c.Include.Target;
    }
}

TEST(Layering, EveryIncludeOfTheSources) {
    const fs::path root = LUMETRA_SOURCE_DIR;
    const TExists exists = [&root](const std::string& path) { return fs::is_regular_file(root / path); };
    std::size_t checked = 0;
    for (const char* tree : {"src", "sim"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / tree)) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) {
                continue;
            }
            const std::string relative = fs::relative(entry.path(), root).generic_string();
            for (const TInclude& include : IncludesOf(root, relative)) {
                ++checked;
                const std::string problem = Violation(include, exists);
                EXPECT_TRUE(problem.empty())
                    << include.File << ":" << include.Line << ": #include " << include.Target << ": " << problem;
            }
        }
    }
    // The walk found the sources: an empty tree would pass every check.
    EXPECT_GT(checked, 500u);
}

} // namespace
} // namespace lumetra::test

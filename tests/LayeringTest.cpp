// The layers kept by the includes: a folder includes only its own layer's
// headers and those of lower layers, and only the toolkit folders include
// the toolkit's headers. Reads the sources as they are in the tree.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Layer {
    const char* folder;
    int rank;
};

// Lowest first; folders of one rank stand beside each other and do not
// include one another. Tests, benchmarks and fuzzers may include anything.
constexpr Layer kLayers[] = {
    {"platform", 0}, {"forms", 1}, {"connections", 2}, {"publishing", 3}, {"tools", 4},
    {"dialogs", 4},  {"shell", 5}, {"bandhost", 6},    {"host", 6},
};

constexpr const char* kToolkitFolders[] = {"platform/gtk/", "platform/webkit/", "forms/gtk/",
                                           "host/"};
constexpr const char* kToolkitHeaders[] = {"gtk/",     "gdk/",       "gtkmm", "gdkmm",
                                           "webkit2/", "webkitgtk",  "jsc/",  "JavaScriptCore/",
                                           "libsoup/", "gdk-pixbuf/"};

std::optional<Layer> layerOf(const std::string& path) {
    std::string top = path.substr(0, path.find('/'));
    for (const Layer& layer : kLayers)
        if (top == layer.folder)
            return layer;
    return std::nullopt;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool inToolkitFolder(const std::string& path) {
    for (const char* folder : kToolkitFolders)
        if (startsWith(path, folder))
            return true;
    return false;
}

bool isToolkitHeader(const std::string& header) {
    for (const char* prefix : kToolkitHeaders)
        if (startsWith(header, prefix))
            return true;
    return false;
}

bool isSource(const fs::path& path) {
    std::string ext = path.extension().string();
    return ext == ".h" || ext == ".hpp" || ext == ".cpp" || ext == ".cc";
}

// What one include line of the file at `path` (relative to the root) breaks,
// or "".
std::string check(const std::string& path, const Layer& from, const std::string& header,
                  bool quoted) {
    if (!quoted || header.find('/') == std::string::npos)
        return isToolkitHeader(header) && !inToolkitFolder(path)
                   ? "a toolkit header outside platform/gtk, platform/webkit, forms/gtk and host"
                   : "";
    std::optional<Layer> to = layerOf(header);
    if (!to || std::string(to->folder) == from.folder)
        return "";
    if (to->rank > from.rank)
        return std::string(from.folder) + " is below " + to->folder;
    if (to->rank == from.rank)
        return std::string(from.folder) + " stands beside " + to->folder;
    return "";
}

// Every include that breaks the layering in the tree at root, as
// "file:line: #include ... (reason)".
std::vector<std::string> layeringViolations(const fs::path& root) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<std::string> found;
    for (const Layer& layer : kLayers) {
        fs::path folder = root / layer.folder;
        if (!fs::is_directory(folder))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file() || !isSource(entry.path()))
                continue;
            std::string path = fs::relative(entry.path(), root).generic_string();
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                std::smatch m;
                if (!std::regex_search(line, m, include))
                    continue;
                std::string reason = check(path, layer, m[2], m[1] == "\"");
                if (!reason.empty())
                    found.push_back(path + ":" + std::to_string(number) + ": " + line + " (" +
                                    reason + ")");
            }
        }
    }
    return found;
}

class Tree {
public:
    Tree() {
        std::string pattern = (fs::temp_directory_path() / "tavrisk-layers-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
    }
    ~Tree() { fs::remove_all(m_root); }
    void write(const std::string& path, const std::string& text) {
        fs::create_directories((m_root / path).parent_path());
        std::ofstream(m_root / path) << text;
    }
    const fs::path& root() const { return m_root; }

private:
    fs::path m_root;
};

} // namespace

TEST(Layering, TheSourceTreeKeepsItsLayers) {
    std::vector<std::string> violations = layeringViolations(TAVRISK_SOURCE_DIR);
    EXPECT_THAT(violations, ::testing::IsEmpty());
}

TEST(Layering, FindsEveryKindOfMisplacedInclude) {
    Tree tree;
    tree.write("platform/browser/A.h", "#include \"platform/com/Guid.h\"\n#include <string>\n");
    tree.write("tools/B.cpp", "#include \"forms/Form.h\"\n#include \"tools/B.h\"\n");
    tree.write("forms/gtk/View.cpp", "#include <gtk/gtk.h>\n");
    tree.write("host/Main.cpp", "#include <webkit2/webkit2.h>\n#include \"shell/BandForm.h\"\n");
    tree.write("tests/AnyTest.cpp", "#include \"host/Main.h\"\n#include <gtk/gtk.h>\n");
    EXPECT_THAT(layeringViolations(tree.root()), ::testing::IsEmpty());

    tree.write("connections/wizard/W.h", "// wizard\n  #  include \"publishing/ftp/X.h\"\n");
    tree.write("tools/C.cpp", "#include \"dialogs/D.h\"\n");
    tree.write("shell/E.cpp", "#include <gtk/gtk.h>\n#include <glib.h>\n");
    tree.write("platform/net/F.cpp", "#include <webkit2/webkit2.h>\n");
    EXPECT_THAT(layeringViolations(tree.root()),
                ::testing::UnorderedElementsAre(
                    "connections/wizard/W.h:2:   #  include \"publishing/ftp/X.h\" "
                    "(connections is below publishing)",
                    "tools/C.cpp:1: #include \"dialogs/D.h\" (tools stands beside dialogs)",
                    "shell/E.cpp:1: #include <gtk/gtk.h> (a toolkit header outside "
                    "platform/gtk, platform/webkit, forms/gtk and host)",
                    "platform/net/F.cpp:1: #include <webkit2/webkit2.h> (a toolkit header "
                    "outside platform/gtk, platform/webkit, forms/gtk and host)"));
}

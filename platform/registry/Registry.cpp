#include "Registry.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

#include "platform/places/Places.h"

namespace fs = std::filesystem;

namespace registry {

namespace {

constexpr const char* kHeader = "Tavrisk Registry Editor Version 1.00";

// Keys nest at most this deep below a root, as on Windows. A deeper file
// is damaged: each line names the whole path, so the text of a deep chain
// grows with the square of its depth.
constexpr size_t kMaxDepth = 512;

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

// Reads a quoted text at pos; advances pos past the closing quote.
std::optional<std::string> unquote(const std::string& line, size_t& pos) {
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (++pos >= line.size())
                return std::nullopt;
            char e = line[pos];
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

constexpr const char* kRootNames[3] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                       "HKEY_LOCAL_MACHINE"};

} // namespace

std::string rootName(Root root) {
    return kRootNames[static_cast<int>(root)];
}

struct Registry::Node {
    std::string name;
    // Keyed by lower-cased name; each holds the name as written and its text.
    std::map<std::string, std::pair<std::string, std::string>> values;
    std::map<std::string, std::unique_ptr<Node>> children;

    Node* child(const std::string& childName) const {
        auto it = children.find(lowered(childName));
        return it == children.end() ? nullptr : it->second.get();
    }
    Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    // Frees the subtree without recursion, however deep it is.
    ~Node() {
        std::vector<std::unique_ptr<Node>> pending;
        auto takeChildren = [&](Node& node) {
            for (auto& [key, child] : node.children)
                pending.push_back(std::move(child));
            node.children.clear();
        };
        takeChildren(*this);
        while (!pending.empty()) {
            std::unique_ptr<Node> node = std::move(pending.back());
            pending.pop_back();
            takeChildren(*node);
        }
    }

    Node& childOrCreate(const std::string& childName) {
        auto& slot = children[lowered(childName)];
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->name = childName;
        }
        return *slot;
    }
};

Registry::Registry(fs::path file) : m_file(std::move(file)) {
    for (auto& root : m_roots)
        root = std::make_unique<Node>();
    load();
}

Registry::~Registry() = default;

namespace {
std::unique_ptr<Registry>& userRegistrySlot() {
    static std::unique_ptr<Registry> slot;
    return slot;
}
} // namespace

Registry& Registry::user() {
    auto& slot = userRegistrySlot();
    if (!slot)
        slot = std::make_unique<Registry>(places::configFolder() / "registry.reg");
    return *slot;
}

void Registry::resetUser() {
    userRegistrySlot().reset();
}

void Registry::requireReadable() const {
    if (!m_loadError.empty())
        throw RegistryError(m_loadError);
}

void Registry::load() {
    std::error_code error;
    if (!fs::exists(m_file, error))
        return;
    std::ifstream in(m_file, std::ios::binary);
    if (!in) {
        m_loadError = "The registry file " + m_file.string() +
                      " could not be read: " + std::strerror(errno) + ".";
        return;
    }
    std::string line;
    Node* current = nullptr;
    int number = 0;
    auto fail = [&](const std::string& why) {
        m_loadError = "The registry file " + m_file.string() + " is damaged at line " +
                      std::to_string(number) + ": " + why +
                      ". Nothing was changed; repair or remove the file.";
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || (number == 1 && line == kHeader))
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                return fail("a key line must end with \"]\"");
            auto parts = splitPath(line.substr(1, line.size() - 2));
            auto root = parts.empty() ? std::end(kRootNames)
                                      : std::find(std::begin(kRootNames), std::end(kRootNames),
                                                  parts.front());
            if (root == std::end(kRootNames))
                return fail("unknown root key");
            if (parts.size() - 1 > kMaxDepth)
                return fail("keys nested deeper than " + std::to_string(kMaxDepth) + " levels");
            current = m_roots[root - std::begin(kRootNames)].get();
            for (size_t i = 1; i < parts.size(); ++i)
                current = &current->childOrCreate(parts[i]);
            continue;
        }
        if (!current)
            return fail("a value stands before any key");
        size_t pos = 0;
        std::string name;
        if (line[0] == '@') {
            pos = 1;
        } else if (auto parsed = unquote(line, pos)) {
            name = *parsed;
        } else {
            return fail("a value line must start with @ or a quoted name");
        }
        if (pos >= line.size() || line[pos] != '=')
            return fail("\"=\" expected after the value name");
        ++pos;
        auto value = unquote(line, pos);
        if (!value || pos != line.size())
            return fail("the value must be one quoted text");
        current->values[lowered(name)] = {name, *value};
    }
    if (in.bad())
        m_loadError = "The registry file " + m_file.string() + " could not be read.";
}

namespace {

void serializeValues(const Registry::Node& node, const std::string& path, std::ostream& out) {
    out << '[' << path << "]\n";
    for (const auto& [key, value] : node.values)
        out << (value.first.empty() ? std::string("@") : quoted(value.first)) << '='
            << quoted(value.second) << '\n';
    out << '\n';
}

// Every key below the root in depth-first order, each after its parent,
// walked with a stack of its own rather than by recursion.
void serializeTree(const Registry::Node& root, const std::string& rootPath, std::ostream& out) {
    std::vector<std::pair<const Registry::Node*, std::string>> pending;
    auto pushChildren = [&](const Registry::Node& node, const std::string& path) {
        for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
            pending.emplace_back(it->second.get(), path + '\\' + it->second->name);
    };
    pushChildren(root, rootPath);
    while (!pending.empty()) {
        auto [node, path] = std::move(pending.back());
        pending.pop_back();
        serializeValues(*node, path, out);
        pushChildren(*node, path);
    }
}

} // namespace

std::string Registry::serialize() const {
    std::ostringstream out;
    out << kHeader << "\n\n";
    for (int i = 0; i < 3; ++i) {
        // Values may stand under a root key itself.
        if (!m_roots[i]->values.empty())
            serializeValues(*m_roots[i], kRootNames[i], out);
        serializeTree(*m_roots[i], kRootNames[i], out);
    }
    return out.str();
}

void Registry::save() const {
    std::error_code error;
    fs::create_directories(m_file.parent_path(), error);
    fs::path temporary = m_file;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << serialize();
        out.flush();
        if (!out)
            throw RegistryError("The registry file " + m_file.string() + " could not be written.");
    }
    fs::rename(temporary, m_file, error);
    if (error)
        throw RegistryError("The registry file " + m_file.string() +
                            " could not be written: " + error.message() + ".");
}

Registry::Node* Registry::find(Root root, const std::string& path) const {
    Node* node = m_roots[static_cast<int>(root)].get();
    for (const auto& part : splitPath(path)) {
        node = node->child(part);
        if (!node)
            return nullptr;
    }
    return node;
}

Registry::Node& Registry::findOrCreate(Root root, const std::string& path) {
    Node* node = m_roots[static_cast<int>(root)].get();
    auto parts = splitPath(path);
    if (parts.size() > kMaxDepth)
        throw RegistryError("The key " + path + " is nested deeper than " +
                            std::to_string(kMaxDepth) + " levels.");
    for (const auto& part : parts)
        node = &node->childOrCreate(part);
    return *node;
}

bool Registry::keyExists(Root root, const std::string& path) const {
    requireReadable();
    return find(root, path) != nullptr;
}

void Registry::createKey(Root root, const std::string& path) {
    requireReadable();
    if (find(root, path))
        return;
    findOrCreate(root, path);
    save();
}

namespace {
bool removeChild(Registry::Node* parent, const std::string& name, bool withSubkeys) {
    if (!parent)
        return false;
    auto it = parent->children.find(lowered(name));
    if (it == parent->children.end() || (!withSubkeys && !it->second->children.empty()))
        return false;
    parent->children.erase(it);
    return true;
}
} // namespace

bool Registry::deleteKey(Root root, const std::string& path) {
    return removeKey(root, path, false);
}

bool Registry::deleteKeyTree(Root root, const std::string& path) {
    return removeKey(root, path, true);
}

bool Registry::removeKey(Root root, const std::string& path, bool withSubkeys) {
    requireReadable();
    auto parts = splitPath(path);
    if (parts.empty())
        return false;
    std::string last = parts.back();
    parts.pop_back();
    std::string parentPath;
    for (const auto& part : parts)
        parentPath += part + '\\';
    if (!removeChild(find(root, parentPath), last, withSubkeys))
        return false;
    save();
    return true;
}

void Registry::setValue(Root root, const std::string& path, const std::string& name,
                        const std::string& value) {
    requireReadable();
    findOrCreate(root, path).values[lowered(name)] = {name, value};
    save();
}

std::optional<std::string> Registry::value(Root root, const std::string& path,
                                           const std::string& name) const {
    requireReadable();
    Node* node = find(root, path);
    if (!node)
        return std::nullopt;
    auto it = node->values.find(lowered(name));
    if (it == node->values.end())
        return std::nullopt;
    return it->second.second;
}

bool Registry::deleteValue(Root root, const std::string& path, const std::string& name) {
    requireReadable();
    Node* node = find(root, path);
    if (!node || node->values.erase(lowered(name)) == 0)
        return false;
    save();
    return true;
}

std::vector<std::string> Registry::subkeys(Root root, const std::string& path) const {
    requireReadable();
    std::vector<std::string> names;
    if (Node* node = find(root, path)) {
        for (const auto& [key, child] : node->children)
            names.push_back(child->name);
    }
    return names;
}

} // namespace registry

#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace registry {

enum class Root { ClassesRoot, CurrentUser, LocalMachine };

std::string rootName(Root root);

class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A registry of keys with a default value and named text values, kept in one
// per-user file in the ".reg" text layout that a person can read and edit.
// Key and value names compare without regard to letter case, as on Windows.
// Every change is written through at once, by replacing the file whole. A
// file that cannot be read or parsed is never written over: every call then
// raises an error that names the file.
class Registry {
public:
    explicit Registry(std::filesystem::path file);
    ~Registry();

    // The per-user registry in the configuration folder.
    static Registry& user();
    // Drops the cached per-user registry so that it is read again (tests).
    static void resetUser();

    const std::filesystem::path& file() const { return m_file; }

    bool keyExists(Root root, const std::string& path) const;
    void createKey(Root root, const std::string& path);
    // Deletes one key; false when it does not exist or still has subkeys.
    bool deleteKey(Root root, const std::string& path);
    // Deletes a key with all its subkeys; false when it does not exist.
    bool deleteKeyTree(Root root, const std::string& path);

    // name "" is the key's default value. Setting creates the key.
    void setValue(Root root, const std::string& path, const std::string& name,
                  const std::string& value);
    std::optional<std::string> value(Root root, const std::string& path,
                                     const std::string& name) const;
    bool deleteValue(Root root, const std::string& path, const std::string& name);

    std::vector<std::string> subkeys(Root root, const std::string& path) const;

    // Text of the whole registry in file form.
    std::string serialize() const;

    struct Node;

private:
    void load();
    void save() const;
    void requireReadable() const;
    bool removeKey(Root root, const std::string& path, bool withSubkeys);
    Node* find(Root root, const std::string& path) const;
    Node& findOrCreate(Root root, const std::string& path);

    std::filesystem::path m_file;
    std::unique_ptr<Node> m_roots[3];
    std::string m_loadError;
};

} // namespace registry

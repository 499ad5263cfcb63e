#include "IniFileStore.h"

#include "platform/places/Places.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;

namespace connections {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string trimmed(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A value as the profile functions hand it back: blanks at either end
// removed, then one pair of matching quotes around it.
std::string profileValue(const std::string& raw) {
    std::string value = trimmed(raw);
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// The text to write so that profileValue gives the value back: line breaks
// become blanks (a value is one line), and a value the reading rules would
// change goes between quotes, which the reading takes off again.
std::string storedValue(std::string value) {
    for (char& c : value)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    if (profileValue(value) != value)
        return '"' + value + '"';
    return value;
}

// A section header's name, or nullopt for any other line.
std::optional<std::string> sectionName(const std::string& line) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] != '[')
        return std::nullopt;
    std::size_t end = line.find(']', start + 1);
    return trimmed(
        line.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1));
}

struct KeyLine {
    std::string key;
    std::string value; // raw, after the first "="
};

std::optional<KeyLine> keyLine(const std::string& line) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == ';')
        return std::nullopt;
    std::size_t equals = line.find('=', start);
    if (equals == std::string::npos)
        return std::nullopt;
    return KeyLine{trimmed(line.substr(start, equals - start)), line.substr(equals + 1)};
}

void writeAll(int fd, const std::string& data) {
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t written = ::write(fd, p, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw std::system_error(errno, std::generic_category());
        p += written;
        left -= static_cast<std::size_t>(written);
    }
}

std::string temporaryName(const fs::path& target) {
    static std::mt19937_64 random{std::random_device{}()};
    std::ostringstream name;
    name << target.string() << ".new-" << ::getpid() << '-' << std::hex << random();
    return name.str();
}

bool writeAndFlush(int fd, const std::string& data) {
    try {
        writeAll(fd, data);
    } catch (const std::system_error&) {
        return false;
    }
    return ::fchmod(fd, 0600) == 0 && ::fsync(fd) == 0;
}

// A complete copy of data, flushed to the disk, in a new file of folder;
// answers its name. The file is written without a name where the file
// system allows it and named only once complete, so an interrupted write
// leaves nothing behind.
std::optional<std::string> completeTemporary(const fs::path& folder, const fs::path& target,
                                             const std::string& data) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
        std::string name = temporaryName(target);
        std::string self = "/proc/self/fd/" + std::to_string(fd);
        bool named = writeAndFlush(fd, data) && ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD,
                                                         name.c_str(), AT_SYMLINK_FOLLOW) == 0;
        ::close(fd);
        if (named)
            return name;
    }
    std::string name = temporaryName(target);
    fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::nullopt;
    bool written = writeAndFlush(fd, data);
    if (::close(fd) != 0 || !written) {
        ::unlink(name.c_str());
        return std::nullopt;
    }
    return name;
}

// A file kept elsewhere through a symbolic link is replaced where it is, and
// the link stays.
fs::path followingLinks(const fs::path& file) {
    std::error_code error;
    if (!fs::is_symlink(file, error))
        return file;
    fs::path real = fs::weakly_canonical(file, error);
    return error ? file : real;
}

// Replaces target by a file holding data, so that target is always either
// the old file or the new one, whenever the program stops.
void replaceFile(const fs::path& target, const std::string& data) {
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::optional<std::string> temporary = completeTemporary(folder, target, data);
    if (!temporary)
        throw IniWriteError(target);
    if (::rename(temporary->c_str(), target.c_str()) != 0) {
        ::unlink(temporary->c_str());
        throw IniWriteError(target);
    }
    // The rename itself reaches the disk with its folder.
    int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

} // namespace

IniWriteError::IniWriteError(const fs::path& file)
    : std::runtime_error("Impossible d'écrire dans " + file.string()) {}

IniReadError::IniReadError(const fs::path& file)
    : std::runtime_error("The settings file " + file.string() +
                         " is saved as UTF-16 text, which cannot be read. Save it as UTF-8 "
                         "text; it was left as it is.") {}

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// UTF-16 text starts with its byte-order mark, or, without one, holds a
// zero byte beside each ASCII character.
bool looksLikeUtf16(const std::string& text) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
        return true;
    return text.size() >= 2 && (text[0] == '\0' || text[1] == '\0');
}

std::string wholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Whether the reading rules give the key back as written.
bool readsBack(const std::string& key) {
    return !key.empty() && trimmed(key) == key && key.front() != ';' && key.front() != '[' &&
           key.find_first_of(std::string("=\r\n\0", 4)) == std::string::npos;
}

} // namespace

// The file's lines, grouped by section, with indexes for the lookups. The
// lines before the first section header are kept as an unnamed section.
class IniFileStore::Contents {
public:
    explicit Contents(const fs::path& file) {
        m_sections.emplace_back("", "");
        std::string text = wholeFile(file);
        if (looksLikeUtf16(text))
            throw IniReadError(file);
        std::size_t start = 0;
        if (text.starts_with(kUtf8Mark)) {
            m_utf8Mark = true;
            start = kUtf8Mark.size();
        }
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string line = text.substr(start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (auto name = sectionName(line))
                m_sections.emplace_back(*name, line);
            else
                m_sections.back().lines.push_back(line);
        }
    }

    std::optional<std::string> read(const std::string& section, const std::string& key) {
        Section* s = find(section);
        if (!s)
            return std::nullopt;
        const auto& keys = s->keys();
        auto it = keys.find(lowered(key));
        if (it == keys.end())
            return std::nullopt;
        return keyLine(s->lines[it->second])->value;
    }

    void write(const std::string& section, const std::string& key, const std::string& value) {
        Section* s = find(section);
        if (!s) {
            m_sections.emplace_back(section, "[" + section + "]");
            m_index.clear();
            s = &m_sections.back();
        }
        std::string line = key + "=" + value;
        auto& keys = s->keys();
        auto it = keys.find(lowered(key));
        if (it != keys.end()) {
            s->lines[it->second] = line;
        } else {
            // After the section's last key line, before the blank lines that
            // part it from the next section.
            std::size_t at = s->lines.size();
            while (at > 0 && trimmed(s->lines[at - 1]).empty())
                --at;
            s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), line);
            if (at + 1 == s->lines.size())
                keys.emplace(lowered(key), at);
            else
                s->indexed = false;
        }
        m_changed = true;
    }

    void erase(const std::string& section) {
        std::string name = lowered(section);
        std::erase_if(m_sections, [&](const Section& s) {
            return !s.header.empty() && lowered(s.name) == name;
        });
        m_index.clear();
        m_changed = true;
    }

    bool changed() const { return m_changed; }

    std::string text() const {
        std::string out = m_utf8Mark ? std::string(kUtf8Mark) : std::string();
        std::size_t mark = out.size();
        for (const Section& s : m_sections) {
            std::size_t end = s.lines.size();
            while (end > 0 && trimmed(s.lines[end - 1]).empty())
                --end;
            if (s.header.empty() && end == 0)
                continue;
            if (out.size() > mark)
                out += "\r\n";
            if (!s.header.empty())
                out += s.header + "\r\n";
            for (std::size_t i = 0; i < end; ++i)
                out += s.lines[i] + "\r\n";
        }
        return out;
    }

private:
    struct Section {
        Section(std::string name, std::string header)
            : name(std::move(name)), header(std::move(header)) {}

        std::string name;
        std::string header; // empty for the lines before the first section
        std::vector<std::string> lines;
        std::unordered_map<std::string, std::size_t> keyIndex;
        bool indexed = false;

        // Lower-cased key to the line of its first occurrence.
        std::unordered_map<std::string, std::size_t>& keys() {
            if (!indexed) {
                keyIndex.clear();
                for (std::size_t i = 0; i < lines.size(); ++i)
                    if (auto k = keyLine(lines[i]))
                        keyIndex.emplace(lowered(k->key), i);
                indexed = true;
            }
            return keyIndex;
        }
    };

    Section* find(const std::string& section) {
        if (m_index.empty())
            for (std::size_t i = m_sections.size(); i-- > 1;)
                m_index[lowered(m_sections[i].name)] = i;
        auto it = m_index.find(lowered(section));
        return it == m_index.end() ? nullptr : &m_sections[it->second];
    }

    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_index; // lower-cased name to first section
    bool m_changed = false;
    bool m_utf8Mark = false;
};

IniFileStore::IniFileStore(fs::path iniFileName) : m_iniFileName(std::move(iniFileName)) {}

IniFileStore::~IniFileStore() = default;

fs::path IniFileStore::filePath() const {
    if (m_iniFileName.has_parent_path())
        return m_iniFileName;
    return places::configFolder() / m_iniFileName;
}

void IniFileStore::open() {
    if (m_openCount == 0)
        m_contents = std::make_unique<Contents>(filePath());
    ++m_openCount;
}

void IniFileStore::close() {
    if (m_openCount == 0 || --m_openCount > 0)
        return;
    std::unique_ptr<Contents> contents = std::move(m_contents);
    if (contents->changed())
        replaceFile(followingLinks(filePath()), contents->text());
}

void IniFileStore::abandon() {
    if (m_openCount > 0 && --m_openCount == 0)
        m_contents.reset();
}

std::string IniFileStore::readString(const std::string& section, const std::string& key,
                                     const std::string& defaultText) {
    open();
    std::optional<std::string> raw = m_contents->read(section, key);
    abandon();
    std::string value = raw ? profileValue(*raw) : defaultText;
    if (value.size() > kMaxValueLength)
        value.resize(kMaxValueLength);
    return value;
}

void IniFileStore::writeString(const std::string& section, const std::string& key,
                               const std::string& value) {
    if (!readsBack(key))
        throw std::invalid_argument("The key \"" + key + "\" cannot be stored in a settings file.");
    open();
    m_contents->write(section, key, storedValue(value));
    close();
}

void IniFileStore::eraseSection(const std::string& section) {
    open();
    m_contents->erase(section);
    close();
}

} // namespace connections

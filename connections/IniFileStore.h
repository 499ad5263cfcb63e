#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace connections {

// A save that could not reach the disk. The text is the one shown to the
// user; the file on disk is left as it was.
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const std::filesystem::path& file);
};

// A file that cannot be taken as settings text (saved as UTF-16). The
// text names the file; the file is never written over.
class IniReadError : public std::runtime_error {
public:
    explicit IniReadError(const std::filesystem::path& file);
};

// An INI file read and written with the rules of the Windows profile
// functions the file format comes from:
// - section and key names compare without regard to letter case, the first
//   section and the first key of a name win;
// - blanks around names, around "=" and around values are ignored; a value
//   between a matching pair of quotes (" or ') loses them; everything after
//   the first "=" is the value; lines starting with ";" are comments;
// - a value reads back with at most 2047 characters; CR LF and LF line ends.
// Values that those rules would change (blanks at either end, quotes around)
// are written between double quotes so that they read back unchanged; CR,
// LF and NUL in a value are written as blanks, so a value never adds lines.
//
// A UTF-8 byte-order mark at the start is skipped, and kept on writing. A
// UTF-16 file is refused (IniReadError) rather than misread and then
// written over.
//
// The file is loaded on the first open and written on the last close when
// something changed: in full, to a new file beside it that is flushed to the
// disk and then renamed over the old one, readable by its owner only.
class IniFileStore {
public:
    // A bare file name lives in the configuration folder.
    explicit IniFileStore(std::filesystem::path iniFileName = "tavrisk.ini");
    ~IniFileStore();
    IniFileStore(const IniFileStore&) = delete;
    IniFileStore& operator=(const IniFileStore&) = delete;

    std::filesystem::path filePath() const;

    // Opens are counted; only the outermost pair loads and writes the file.
    // Throws IniReadError when the file is not settings text.
    void open();
    // Throws IniWriteError when the changes cannot be written; the store is
    // closed all the same.
    void close();
    // Closes without writing anything (an operation that failed midway).
    void abandon();

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultText);
    // Throws std::invalid_argument for a key that would not read back as
    // that key (empty, blanks at either end, "=", a line break, or a start
    // that makes the line a comment or a section).
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void eraseSection(const std::string& section);

    static constexpr std::size_t kMaxValueLength = 2047;

private:
    class Contents;
    std::filesystem::path m_iniFileName;
    int m_openCount = 0;
    std::unique_ptr<Contents> m_contents;
};

} // namespace connections

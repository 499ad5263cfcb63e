// The settings file: any file read, a value saved, everything restored.

#include "Linear.h"

#include "connections/IniFileStore.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using connections::IniFileStore;
using fuzzing::require;

namespace {

fs::path scratchFile() {
    static fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("ini-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder / "tavrisk.ini";
}

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The section and key names the file seems to hold, read plainly.
std::vector<std::pair<std::string, std::string>> namesIn(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    size_t start = 0;
    while (start < text.size() && names.size() < 64) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[0] == '[')
            section = line.substr(1, line.find(']') == std::string::npos ? std::string::npos
                                                                         : line.find(']') - 1);
        else if (auto equals = line.find('='); equals != std::string::npos)
            names.emplace_back(section, line.substr(0, equals));
    }
    return names;
}

// What a saved value reads back as: one line, at most 2047 bytes.
std::string asReadBack(std::string value) {
    for (char& c : value)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    if (value.size() > IniFileStore::kMaxValueLength)
        value.resize(IniFileStore::kMaxValueLength);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    // The input's last quarter is the value to save, the rest the file.
    std::string file = input.substr(0, size - size / 4);
    std::string value = input.substr(size - size / 4);
    fs::path path = scratchFile();
    writeFile(path, file);

    auto names = namesIn(file);
    std::vector<std::string> before;
    IniFileStore store(path);
    try {
        store.open();
    } catch (const connections::IniReadError&) {
        return 0; // UTF-16: refused, and nothing may be written
    }
    for (const auto& [section, key] : names)
        before.push_back(store.readString(section, key, "\x01missing"));
    store.writeString("Fuzz.Saved", "Value", value);
    store.close();

    IniFileStore again(path);
    again.open();
    require(again.readString("Fuzz.Saved", "Value", "") == asReadBack(value),
            "a saved value reads back");
    for (size_t i = 0; i < names.size(); ++i) {
        const auto& [section, key] = names[i];
        bool saved =
            section.find("uzz.") != std::string::npos && key.find("alue") != std::string::npos;
        if (!saved)
            require(again.readString(section, key, "\x01missing") == before[i],
                    "a save keeps every other value");
    }
    again.abandon();

    fuzzing::checkLinear(file, [&](const std::string& big) {
        writeFile(path, big);
        IniFileStore large(path);
        try {
            large.open();
        } catch (const connections::IniReadError&) {
            return;
        }
        large.readString("Fuzz.Saved", "Value", "");
        large.writeString("Fuzz.Saved", "Value", "x");
        large.close();
    });
    return 0;
}

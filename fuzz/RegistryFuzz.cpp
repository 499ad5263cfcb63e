// The registry file: any file read; one that loads writes out a text that
// loads to the same registry again.

#include "Linear.h"

#include "platform/registry/Registry.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using fuzzing::require;
using registry::Registry;
using registry::RegistryError;
using registry::Root;

namespace {

fs::path scratch(const char* name) {
    static fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("registry-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder / name;
}

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool loads(Registry& registry) {
    try {
        registry.keyExists(Root::CurrentUser, "Software");
        return true;
    } catch (const RegistryError&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    fs::path file = scratch("registry.reg");
    writeFile(file, input);
    {
        Registry registry(file);
        if (!loads(registry)) {
            require(readFile(file) == input, "a refused file is left as it was");
            return 0;
        }
        std::string text = registry.serialize();
        fs::path copy = scratch("copy.reg");
        writeFile(copy, text);
        Registry again(copy);
        require(loads(again), "a written registry loads");
        require(again.serialize() == text, "a written registry reads back the same");

        // A change is written through and reads back.
        again.setValue(Root::CurrentUser, "Software\\Fuzz", "v", input.substr(0, 64));
        Registry third(copy);
        require(third.value(Root::CurrentUser, "Software\\Fuzz", "v") == input.substr(0, 64),
                "a set value reads back");
    }

    fuzzing::checkLinear(input, [&](const std::string& big) {
        fs::path large = scratch("large.reg");
        writeFile(large, big);
        Registry registry(large);
        if (loads(registry))
            registry.serialize();
    });
    return 0;
}

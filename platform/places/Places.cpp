#include "Places.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

#ifndef TAVRISK_INSTALLED_SHARE_DIR
#define TAVRISK_INSTALLED_SHARE_DIR "/usr/local/share/tavrisk"
#endif
#ifndef TAVRISK_SOURCE_SHARE_DIR
#define TAVRISK_SOURCE_SHARE_DIR ""
#endif

namespace fs = std::filesystem;

namespace places {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

fs::path homeFolder() {
    std::string home = environment("HOME");
    return home.empty() ? fs::temp_directory_path() : fs::path(home);
}

fs::path xdgFolder(const char* variable, const char* fallback) {
    std::string value = environment(variable);
    // The XDG rules ignore relative paths.
    if (!value.empty() && fs::path(value).is_absolute())
        return value;
    return homeFolder() / fallback;
}

fs::path ensured(const fs::path& folder) {
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    return folder;
}

fs::path writableFolder(const char* homeSubfolder, const char* xdgVariable,
                        const char* xdgFallback) {
    std::string home = environment("TAVRISK_HOME");
    if (!home.empty())
        return ensured(fs::absolute(home) / homeSubfolder);
    return ensured(xdgFolder(xdgVariable, xdgFallback) / "tavrisk");
}

fs::path executableFolder() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : exe.parent_path();
}

} // namespace

fs::path dataFolder() {
    return writableFolder("data", "XDG_DATA_HOME", ".local/share");
}
fs::path cacheFolder() {
    return writableFolder("cache", "XDG_CACHE_HOME", ".cache");
}
fs::path configFolder() {
    return writableFolder("config", "XDG_CONFIG_HOME", ".config");
}

fs::path shareFolder() {
    std::string overridden = environment("TAVRISK_SHARE_DIR");
    if (!overridden.empty())
        return overridden;
    // An installed program finds its files beside it; a build tree uses the
    // sources' copy.
    fs::path besideProgram = executableFolder() / ".." / "share" / "tavrisk";
    std::error_code error;
    if (fs::is_directory(besideProgram, error))
        return fs::weakly_canonical(besideProgram, error);
    if (fs::path source = TAVRISK_SOURCE_SHARE_DIR; !source.empty() && fs::is_directory(source))
        return source;
    return TAVRISK_INSTALLED_SHARE_DIR;
}

std::string withTrailingSlash(const fs::path& folder) {
    std::string text = folder.string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

} // namespace places

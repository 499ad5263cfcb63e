#include "SamplePage.h"

#include <stdexcept>

namespace fs = std::filesystem;

namespace host {

fs::path samplePageCopy(const fs::path& shipped, const fs::path& dataFolder) {
    fs::path copy = dataFolder / shipped.filename();
    std::error_code error;
    if (fs::exists(copy, error))
        return copy;
    fs::create_directories(dataFolder, error);
    if (!error)
        fs::copy_file(shipped, copy, error);
    if (error)
        throw std::runtime_error("Cannot copy the sample page " + shipped.string() + " to " +
                                 copy.string() + ": " + error.message());
    // An installed page is read-only; its copy is the person's to edit.
    fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add, error);
    return copy;
}

} // namespace host

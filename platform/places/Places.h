#pragma once

#include <filesystem>
#include <string>

namespace places {

// The folders the system keeps its files in. Each is created on first use.
// TAVRISK_HOME, when set, moves every writable folder under it (data/,
// cache/ and config/) so that tests and demos never touch a user's files.

// New pages, upload copies, the gallery page, glyph pictures, "1.htm".
std::filesystem::path dataFolder();
// The local working copy of a site page.
std::filesystem::path cacheFolder();
// "tavrisk.ini" and the registry file.
std::filesystem::path configFolder();
// Read-only files shipped with the program (templates, start page).
std::filesystem::path shareFolder();

// A folder as text with a trailing "/", the form callers join names to.
std::string withTrailingSlash(const std::filesystem::path& folder);

} // namespace places

#pragma once

#include <filesystem>

namespace host {

// The sample page a first start opens: a copy of the shipped page in the
// person's data folder, made the first time. Editing and saving change the
// copy only; the shipped file stays as installed, and a copy the person has
// changed is never replaced. Raises an error when the copy cannot be made.
std::filesystem::path samplePageCopy(const std::filesystem::path& shipped,
                                     const std::filesystem::path& dataFolder);

} // namespace host

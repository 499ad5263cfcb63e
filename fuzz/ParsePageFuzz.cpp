// The rewriting of local references, on any page.

#include "Linear.h"

#include "publishing/references/ParsePage.h"

#include <algorithm>
#include <string>
#include <vector>

using fuzzing::require;

namespace {

std::vector<std::string> linesOf(const std::string& page) {
    std::vector<std::string> lines(1);
    for (char c : page) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

bool hasMarker(const std::string& line) {
    std::string lowered = line;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return lowered.find("=\"file:") != std::string::npos ||
           lowered.find("='file:") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string page(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> before = linesOf(page);
    std::vector<std::string> lines = before;
    std::vector<std::string> names{"kept"}, files{"kept"};
    references::parsepage(lines, names, files);

    require(lines.size() == before.size(), "the page keeps its lines");
    require(names.size() == files.size(), "names and files grow together");
    require(names.front() == "kept" && files.front() == "kept", "the lists are only appended to");
    for (size_t i = 1; i < names.size(); ++i)
        require(names[i].find_first_of("#?&") == std::string::npos, "a remote name is cleaned");
    for (size_t i = 0; i < lines.size(); ++i)
        if (!hasMarker(before[i]))
            require(lines[i] == before[i], "a line without a marker is left alone");

    // Minified pages put everything on one line: the page made one line
    // and repeated must take time in proportion to its length.
    std::string oneLine = page;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    fuzzing::checkLinear(oneLine, [](const std::string& big) {
        std::vector<std::string> bigLines{big};
        std::vector<std::string> n, f;
        references::parsepage(bigLines, n, f);
    });
    return 0;
}

// Times the rewriting of local references on generated pages of 1 MB and
// 10 MB, as ordinary lines and as one long line, so that the cost per
// megabyte can be compared between sizes; and a line with one very long
// value against a plain line of the same size.
#include "publishing/references/ParsePage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A page of ordinary markup: text, web links and, on every fourth line, a
// picture or a page on the local disk.
std::vector<std::string> pageOf(std::size_t bytes) {
    std::vector<std::string> lines;
    std::size_t size = 0;
    for (std::size_t i = 0; size < bytes; ++i) {
        std::string n = std::to_string(i);
        std::string line;
        switch (i % 4) {
        case 0:
            line = "<p class=\"text\">Paragraph " + n +
                   " of the page, with <a href=\"http://www.example.org/page" + n +
                   ".htm\">a link</a> and some words.</p>";
            break;
        case 1:
            line = "<td><img src=\"file:///home/user/My%20Pictures/Photo" + n +
                   ".JPG\" width=\"120\" height=\"80\" alt=\"photo " + n + "\"></td>";
            break;
        case 2:
            line = "<li><a href='file:///home/user/site/page" + n + ".htm#top'>Page " + n +
                   "</a> <img src=\"images/bullet.gif\"></li>";
            break;
        default:
            line = "<div style=\"margin: 4px\">Text of block " + n + " without references</div>";
        }
        size += line.size() + 2;
        lines.push_back(std::move(line));
    }
    return lines;
}

// The same amount of markup joined into one line.
std::vector<std::string> oneLineOf(std::size_t bytes) {
    std::string line;
    for (const std::string& part : pageOf(bytes))
        line += part;
    return {line};
}

// One line built to make a sweep that walks each value from every place
// cost the line's length times the value's: a long "about:" value, then
// the same run of letters again.
std::vector<std::string> longValueLineOf(std::size_t bytes) {
    std::string run((bytes - 60) / 2, 'a');
    return {"<img src=\"file:///c:/x.gif\"><img src=\"" + run + "about:\">" + run};
}

// The best of a few runs, since the machine may be busy with other work.
double measure(const char* label, const std::vector<std::string>& page) {
    std::size_t bytes = 0;
    for (const std::string& line : page)
        bytes += line.size() + 2;
    double best = 0;
    std::size_t references = 0;
    for (int run = 0; run < 3; ++run) {
        std::vector<std::string> lines = page;
        std::vector<std::string> names, files;
        auto start = std::chrono::steady_clock::now();
        references::parsepage(lines, names, files);
        double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        best = run == 0 ? ms : std::min(best, ms);
        references = names.size();
    }
    double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    std::printf("%-30s %7.2f MB %9.1f ms %8.1f ms/MB %8zu references\n", label, mb, best, best / mb,
                references);
    return best;
}

void compareLongValue(std::size_t bytes, const char* label, const char* plainLabel) {
    double hostile = measure(label, longValueLineOf(bytes));
    double plain = measure(plainLabel, oneLineOf(bytes));
    std::printf("  long value / plain line time ratio %.2f\n", hostile / plain);
}

} // namespace

int main() {
    measure("page of short lines, 1 MB", pageOf(1 << 20));
    measure("page of short lines, 10 MB", pageOf(10 << 20));
    measure("the same in one line, 1 MB", oneLineOf(1 << 20));
    measure("the same in one line, 10 MB", oneLineOf(10 << 20));
    compareLongValue(128 << 10, "long value line, 128 KB", "plain line, 128 KB");
    compareLongValue(1 << 20, "long value line, 1 MB", "plain line, 1 MB");
    return 0;
}

#include "publishing/references/ParsePage.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Result {
    std::vector<std::string> lines;
    std::vector<std::string> names;
    std::vector<std::string> files;
};

Result parsed(std::vector<std::string> lines) {
    Result r{std::move(lines), {}, {}};
    references::parsepage(r.lines, r.names, r.files);
    return r;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(ParsePage, RewritesEachLocalReferenceOfALine) {
    struct Case {
        std::string line, rewritten;
        Lines names, files;
    };
    const Case cases[] = {
        {"<img src=\"file:///C:/My%20Pictures/Photo.JPG\">",
         "<img src=\"photo.jpg\">",
         {"photo.jpg"},
         {"C:/My Pictures/Photo.JPG"}},
        {"<a href='file:///C:/site/contact.htm#top'>",
         "<a href='contact.htm#top'>",
         {"contact.htm"},
         {"C:/site/contact.htm"}},
        // A file URL with a host is no local file.
        {"<img src=\"file://server/share/logo.gif?v=2\">",
         "<img src=\"file://server/share/logo.gif?v=2\">",
         {},
         {}},
        {"<img src=\"http://x/a.gif\">", "<img src=\"http://x/a.gif\">", {}, {}},
        {"<img src=\"http://x/a.gif\"><img src=\"file:///c:/b.gif\">",
         "<img src=\"http://x/a.gif\"><img src=\"b.gif\">",
         {"b.gif"},
         {"c:/b.gif"}},
        {"<img src=\"file:///c:/dir%2fsub/a%20b+c.gif\">",
         "<img src=\"a%20b+c.gif\">",
         {"a%20b+c.gif"},
         {"c:/dir/sub/a b c.gif"}},
        // Markers in capitals; the name is lower case, the local path as written.
        {"<IMG SRC=\"FILE:///C:/PIC.GIF\">", "<IMG SRC=\"pic.gif\">", {"pic.gif"}, {"C:/PIC.GIF"}},
        // A folder gives an empty name.
        {"<a href=\"file:///c:/dir/\">x</a>", "<a href=\"\">x</a>", {""}, {"c:/dir/"}},
        {"<img src=\"file:///c:/a.gif?v=1\">", "<img src=\"a.gif?v=1\">", {"a.gif"}, {"c:/a.gif"}},
        // A path of this system keeps its root.
        {"<img src=\"file:///home/me/Pictures/Cat%201.png\">",
         "<img src=\"cat%201.png\">",
         {"cat%201.png"},
         {"/home/me/Pictures/Cat 1.png"}},
        // An "about:" value without "/" is named by what follows its last ":".
        {"<img src=\"file://srv/x.gif\"><img src=\"about:logo.gif\">",
         "<img src=\"file://srv/x.gif\"><img src=\"logo.gif\">",
         {"logo.gif"},
         {"about:logo.gif"}},
        // Several kinds on one line, taken from left to right.
        {"<a href=\"file:///c:/p/page.htm\"><img src='file:///c:/i/a.gif'></a>"
         "<img src=\"file:///c:/i/b.gif\"><a href='file:///c:/p/q.htm'>",
         "<a href=\"page.htm\"><img src='a.gif'></a><img src=\"b.gif\"><a href='q.htm'>",
         {"page.htm", "a.gif", "b.gif", "q.htm"},
         {"c:/p/page.htm", "c:/i/a.gif", "c:/i/b.gif", "c:/p/q.htm"}},
        // A kind that finds nothing further does not lose another kind's value.
        {"<img src=\"file:///c:/a.gif\"><a href=\"http://x/\">1</a><a href=\"file:///c:/b.htm\">",
         "<img src=\"a.gif\"><a href=\"http://x/\">1</a><a href=\"b.htm\">",
         {"a.gif", "b.htm"},
         {"c:/a.gif", "c:/b.htm"}},
        // A value repeated on a line is rewritten everywhere by its first pass.
        {"<img src=\"file:///c:/a.gif\"><img src='FILE:///C:/A.GIF'> file:///c:/a.gif",
         "<img src=\"a.gif\"><img src='a.gif'> a.gif",
         {"a.gif"},
         {"c:/a.gif"}},
        // A long value whose rewrite moves the next reference well to the left.
        {"<img src=\"file:///c:/" + std::string(200, 'd') +
             "/x.gif\"><img src=\"file:///c:/y.gif\">",
         "<img src=\"x.gif\"><img src=\"y.gif\">",
         {"x.gif", "y.gif"},
         {"c:/" + std::string(200, 'd') + "/x.gif", "c:/y.gif"}},
        {"<img src=\"file:///c:/a.gif", "<img src=\"file:///c:/a.gif", {}, {}}, // no closing quote
        // Every other place a taken value occurs is rewritten too, before it as well.
        {"FILE:///C:/A.GIF <img src=\"file:///c:/a.gif\">",
         "a.gif <img src=\"a.gif\">",
         {"a.gif"},
         {"c:/a.gif"}},
        {"<img src=\"file:///c:/a?gif\"> file:///c:/aXgif",
         "<img src=\"a?gif\"> a?gif",
         {"a"},
         {"c:/a"}},
        // A value that begins with a value taken before is a reference of its own.
        {"<img src=\"file:///c:/a.gif\"><img src=\"file:///c:/a.gif2\">",
         "<img src=\"a.gif\"><img src=\"a.gif2\">",
         {"a.gif", "a.gif2"},
         {"c:/a.gif", "c:/a.gif2"}},
    };
    for (const Case& c : cases) {
        Result r = parsed({c.line});
        EXPECT_EQ(r.lines, Lines{c.rewritten}) << c.line;
        EXPECT_EQ(r.names, c.names) << c.line;
        EXPECT_EQ(r.files, c.files) << c.line;
    }
}

TEST(ParsePage, CollectsEveryLineAndKeepsDuplicates) {
    Result r = parsed({"<html>", "<img src=\"file:///c:/a.gif\">", "text",
                       "<IMG SRC=\"file:///c:/a.gif\">", "<a href='file:///c:/a.gif'>", ""});
    EXPECT_EQ(r.lines, (Lines{"<html>", "<img src=\"a.gif\">", "text", "<IMG SRC=\"a.gif\">",
                              "<a href='a.gif'>", ""}));
    EXPECT_EQ(r.names, (Lines{"a.gif", "a.gif", "a.gif"}));
    EXPECT_EQ(r.files, (Lines{"c:/a.gif", "c:/a.gif", "c:/a.gif"}));
}

TEST(ParsePage, LeavesPagesWithoutLocalReferencesAndAppendsToTheLists) {
    Result empty = parsed({});
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_TRUE(empty.names.empty());

    Lines page{"<p>file:///c:/a.gif</p>", "<img src=\"a.gif\">", "<a href=\"x.htm\">"};
    Lines names{"earlier"}, files{"/earlier"};
    Lines lines = page;
    references::parsepage(lines, names, files);
    EXPECT_EQ(lines, page);
    EXPECT_EQ(names, Lines{"earlier"});

    lines = {"<img src=\"file:///c:/b.gif\">"};
    references::parsepage(lines, names, files);
    EXPECT_EQ(names, (Lines{"earlier", "b.gif"}));
    EXPECT_EQ(files, (Lines{"/earlier", "c:/b.gif"}));
}

// Lines made of the pieces that steer the scan, in random order: every run
// ends, the lists grow together, and no line yields more references than it
// has openers.
TEST(ParsePage, EveryLineEndsWhateverItHolds) {
    const std::string pieces[] = {
        "src=\"", "src='", "href=\"", "href='", "file:///", "about:", "file:",    "/", "\"",
        "'",      "a",     "?",       "#",      "%2",       "SRC=\"", "FILE:///", " "};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(1, 60);
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        for (int n = length(random); n > 0; --n)
            line += pieces[piece(random)];
        std::size_t openers = 0;
        std::string lowered = line;
        for (char& c : lowered)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const char* opener : {"src=", "href="})
            for (std::size_t at = lowered.find(opener); at != std::string::npos;
                 at = lowered.find(opener, at + 1))
                ++openers;
        Result r = parsed({line});
        ASSERT_EQ(r.names.size(), r.files.size()) << line;
        ASSERT_LE(r.names.size(), openers) << line;
        ASSERT_LE(r.lines[0].size(), line.size()) << line;
    }
}

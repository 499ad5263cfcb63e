#include "connections/TextOps.h"

#include <gtest/gtest.h>

namespace text = connections::text;

TEST(TextOps, LowerCaseTouchesOnlyAsciiLetters) {
    EXPECT_EQ(text::lowerCase("SRC=\"FILE:///C:/A.GIF\""), "src=\"file:///c:/a.gif\"");
    EXPECT_EQ(text::lowerCase("\xC9t\xC9 [Z]@"), "\xC9t\xC9 [z]@");
}

TEST(TextOps, FindIsOneBasedAndCaseSensitive) {
    EXPECT_EQ(text::find("b", "abc"), 2u);
    EXPECT_EQ(text::find("abc", "abc"), 1u);
    EXPECT_EQ(text::find("B", "abc"), 0u);
    EXPECT_EQ(text::find("x", ""), 0u);
}

TEST(TextOps, Extract) {
    struct Case {
        std::string source, opener, closer;
        std::size_t position;
        std::string value;
        std::size_t next;
    };
    const Case cases[] = {
        {"<img src=\"a.gif\">", "src=\"", "\"", 1, "a.gif", 17},
        {"src=\"a\" src=\"b\"", "src=\"", "\"", 8, "b", 16},
        {"src=\"a\" src=\"b\"", "src=\"", "\"", 2, "b", 16},
        {"src=\"\" x", "src=\"", "\"", 1, "", 7},
        {"src=\"a", "src=\"", "\"", 1, "", 0},          // no closer
        {"<img>", "src=\"", "\"", 1, "", 0},            // no opener
        {"src=\"a\"", "src=\"", "\"", 0, "", 0},        // position below 1
        {"src=\"a\"", "src=\"", "\"", 7, "", 0},        // position at the length
        {"src=\"a\"", "", "\"", 1, "", 0},              // empty opener
        {"src=\"a\"", "src=\"", "", 1, "", 0},          // empty closer
        {"<a>x</a><a>y</a>", "<a>", "</a>", 1, "x", 9}, // closer of several bytes
    };
    for (const Case& c : cases) {
        std::size_t position = c.position;
        EXPECT_EQ(text::extract(c.source, c.opener, c.closer, position), c.value) << c.source;
        EXPECT_EQ(position, c.next) << c.source << " from " << c.position;
    }
}

TEST(TextOps, ReplaceAll) {
    struct Case {
        std::string text, pattern, replacement, result;
    };
    const Case cases[] = {
        {"a FILE:///C:/X.gif b file:///c:/x.GIF", "file:///c:/x.gif", "x.gif", "a x.gif b x.gif"},
        {"aaaa", "aa", "b", "bb"}, // left to right, no overlap
        {"aaa", "aa", "b", "ba"},
        {"src=\"p.htm?x=1\"", "p.htm?x=1", "p", "src=\"p\""}, // "?" matches itself
        {"a.gif a-gif", "a?gif", "z", "z z"},                 // and any other byte
        {"abc", "", "z", "abc"},                              // empty pattern: nothing to find
        {"ab", "abc", "z", "ab"},                             // pattern longer than the text
        {"xyz", "???", "q", "q"},
        {"", "a", "b", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::replaceAll(c.text, c.pattern, c.replacement), c.result) << c.text;
}

TEST(TextOps, ReplaceAllMovesATrackedOffsetWithTheText) {
    struct Case {
        std::string text;
        std::size_t tracked, moved;
    };
    // "file:///a/b" becomes "b" wherever it stands.
    const Case cases[] = {
        {"<file:///a/b>", 12, 2}, // after a match: shifted by the shrinkage
        {"<file:///a/b>", 0, 0},  // before it: unchanged
        {"<file:///a/b>", 1, 1},  // at its start: the start of the replacement
        {"<file:///a/b>", 5, 2},  // inside it: the end of the replacement
        {"<file:///a/b>", 13, 3}, // the end of the text
        {"file:///a/b file:///a/b.", 23, 3},
    };
    for (const Case& c : cases) {
        std::size_t tracked = c.tracked;
        text::replaceAll(c.text, "file:///a/b", "b", &tracked);
        EXPECT_EQ(tracked, c.moved) << c.text << " at " << c.tracked;
    }
}

TEST(TextOps, Decode) {
    struct Case {
        std::string text, decoded;
    };
    const Case cases[] = {
        {"%41%42", "AB"},
        {"%c3", "\xC3"},
        {"%2f%20x+y", "/ x y"},
        {"a&b", "a\r\nb"},
        {"%e9t%E9", "\xE9t\xE9"},
        {"100%", "100%"}, // "%" without two hex digits stays
        {"%4", "%4"},
        {"%zz%41", "%zzA"},
        {"%%41", "%A"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::decode(c.text), c.decoded) << c.text;
}

TEST(TextOps, Nettoie) {
    struct Case {
        std::string name, cleaned;
    };
    const Case cases[] = {
        {"page.htm?x=1#top", "page.htm"},
        {"a&b.gif", "a"},
        {"photo.jpg", "photo.jpg"},
        {"", ""},
        {"contact.htm#top", "contact.htm"},
        {"p.php?a=1&b=2", "p.php"},
        {"#x", ""},
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        text::nettoie(name);
        EXPECT_EQ(name, c.cleaned) << c.name;
    }
}

#include "connections/UrlParts.h"

#include <gtest/gtest.h>

using connections::UrlParts;

namespace {

// protocol, user, password, host, port, path, document, params, bookmark
UrlParts parts(std::string protocol, std::string user, std::string password, std::string host,
               std::string port, std::string path, std::string document, std::string params,
               std::string bookmark) {
    return UrlParts{protocol, user, password, host, port, path, document, params, bookmark};
}

} // namespace

namespace connections {
void PrintTo(const UrlParts& p, std::ostream* os) {
    *os << "{" << p.protocol << "|" << p.user << "|" << p.password << "|" << p.host << "|" << p.port
        << "|" << p.path << "|" << p.document << "|" << p.params << "|" << p.bookmark << "}";
}
} // namespace connections

TEST(UrlParts, Parse) {
    struct Case {
        std::string text;
        UrlParts expected;
    };
    const Case cases[] = {
        {"http://host1/dir/page.htm#top",
         parts("http", "", "", "host1", "", "/dir/", "page.htm", "", "top")},
        {"http://user:pw@host1:8080/a/b/c.php?x=1&y=2#frag",
         parts("http", "user", "pw", "host1", "8080", "/a/b/", "c.php", "?x=1&y=2", "frag")},
        {"http://host1", parts("http", "", "", "host1", "", "/", "", "", "")},
        {"http://host1/", parts("http", "", "", "host1", "", "/", "", "", "")},
        {"http:\\\\host1\\dir\\a.htm",
         parts("http", "", "", "host1", "", "/dir/", "a.htm", "", "")},
        // The query starts at "?", so a "/" after it stays in the params.
        {"http://host1/dir/page?a=b/c",
         parts("http", "", "", "host1", "", "/dir/", "page", "?a=b/c", "")},
        // Without "?", the first "=" starts the query.
        {"http://host1/dir/x=1/y", parts("http", "", "", "host1", "", "/dir/", "x", "=1/y", "")},
        {"http://host1/a.htm#x?y", parts("http", "", "", "host1", "", "/", "a.htm", "?y", "x")},
        {"ftp://u@h/", parts("ftp", "u", "", "h", "", "/", "", "", "")},
        {"ftp://u:p@ss@h/f", parts("ftp", "u", "p@ss", "h", "", "/", "f", "", "")},
        {"http://[::1]:8080/i.htm", parts("http", "", "", "[::1]", "8080", "/", "i.htm", "", "")},
        // Without a host: no leading "/" and no cut of the document at "#".
        {"dir/sub/page.htm?q#b", parts("", "", "", "", "", "dir/sub/", "page.htm", "?q", "b")},
        {"page.htm#top", parts("", "", "", "", "", "", "page.htm#top", "", "")},
        {"", parts("", "", "", "", "", "", "", "", "")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UrlParts::parse(c.text), c.expected) << c.text;
}

TEST(UrlParts, AddressTextLeavesOutUserPasswordAndBookmark) {
    struct Case {
        std::string text, address;
    };
    const Case cases[] = {
        {"http://user:pw@host1:8080/a/b/c.php?x=1#frag", "http://host1:8080/a/b/c.php?x=1"},
        {"http://host1", "http://host1/"},
        {"http://host1/dir/page.htm#top", "http://host1/dir/page.htm"},
        {"HTTP://Host1/A.htm", "HTTP://Host1/A.htm"},
        {"dir/page.htm", "://dir/page.htm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UrlParts::parse(c.text).addressText(), c.address) << c.text;
}

TEST(UrlParts, Traitep) {
    struct Case {
        std::string location;
        UrlParts expected;
    };
    const Case cases[] = {
        {"host1", parts("http", "", "", "host1", "", ".", "", "", "")},
        {"http://host1/dir/page.htm#top",
         parts("http", "", "", "host1", "", "/dir/", "page.htm", "", "top")},
        {"http://host1/", parts("http", "", "", "host1", "", ".", "", "", "")},
        {"HTTP://Host1/x.htm?a=1", parts("HTTP", "", "", "Host1", "", ".", "x.htm", "?a=1", "")},
        {"host1/dir/page.htm?x", parts("http", "", "", "host1", "", "/dir/", "page.htm", "?x", "")},
        // Without "?" the document is cleaned of what follows "&".
        {"http://h/a&b.htm", parts("http", "", "", "h", "", ".", "a", "", "")},
        {"https://host1/a/b.php?x#y",
         parts("https", "", "", "host1", "", "/a/", "b.php", "?x", "y")},
        {"www.site.com:8080/news/",
         parts("http", "", "", "www.site.com", "8080", "/news/", "", "", "")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(connections::traitep(c.location), c.expected) << c.location;
}

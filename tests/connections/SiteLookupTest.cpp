#include "connections/SiteLookup.h"

#include <gtest/gtest.h>

using namespace connections;

TEST(SiteLookup, ASavedSiteNamesTheAddressesOfItsSiteOnly) {
    struct Case {
        const char* saved;
        const char* address;
        bool matches;
    };
    const Case cases[] = {
        {"http://host1/", "http://host1/dir/page.htm", true},
        {"http://host1", "http://host1", true},
        {"HTTP://HOST1", "http://host1", true},
        {"http://host1", "http://host1?x=1", true},
        {"", "http://host1/", false},
        // A site saved with a folder is the site of that folder only.
        {"http://host1/shop/", "http://host1/shop/page.htm", true},
        {"http://host1/shop/", "http://host1/", false},
        {"http://host1/shop", "http://host1/shopping/", false},
        // Text that merely occurs in an unrelated address.
        {"http://host1", "http://host10/page.htm", false},
        {"http://host1", "http://host1.example.org/", false},
        {"http://host1", "http://other/?from=http://host1/", false},
        {"host1", "http://myhost1/", false},
        // A site typed without its protocol still names its host.
        {"host1", "http://host1/dir/", true},
        // The port is part of the site.
        {"http://127.0.0.1:8080", "http://127.0.0.1:8080/index.html", true},
        {"http://127.0.0.1:8080", "http://127.0.0.1:8081/", false},
        {"http://127.0.0.1", "http://127.0.0.1:8080/", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(siteMatches(c.saved, c.address), c.matches) << c.saved << " / " << c.address;
}

TEST(SiteLookup, TheSiteRootKeepsThePort) {
    EXPECT_EQ(siteRoot(UrlParts::parse("http://127.0.0.1:8080/dir/a.htm")),
              "http://127.0.0.1:8080");
    EXPECT_EQ(siteRoot(UrlParts::parse("http://host1/dir/a.htm")), "http://host1");
}

TEST(SiteLookup, FoldersJoinWithOneSlash) {
    EXPECT_EQ(joinFolders("www", "/news/"), "www/news/");
    EXPECT_EQ(joinFolders("/www/", "/news/"), "/www/news/");
    EXPECT_EQ(joinFolders("", "/"), "/");
    EXPECT_EQ(joinFolders("/", "/"), "/");
}

TEST(SiteLookup, TheDefaultPageIsTheFirstKnownNameOfTheFirstLineHoldingOne) {
    struct Case {
        std::vector<std::string> listing;
        std::optional<std::string> page;
    };
    auto line = [](const std::string& name) {
        return "-rw-r--r--   1 owner    group        1024 Dec 10 05:00 " + name;
    };
    const Case cases[] = {
        {{line("default.htm"), line("index.html")}, "default.htm"},
        {{line("home.html")}, "home.html"},
        {{line("home.htm")}, "home.htm"},
        {{line("INDEX.HTML")}, std::nullopt},
        {{line("index.htm"), line("about.htm")}, "index.htm"},
        {{line("pictures"), line("about.htm"), line("index.php")}, "index.php"},
        {{}, std::nullopt},
        // Within one line the earlier name of the table wins.
        {{"index.cfm and index.html"}, "index.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findDefaultPage(c.listing), c.page)
            << (c.listing.empty() ? "(empty listing)" : c.listing.front());
}

// The gallery page, the link history and the addresses of local files.

#include "dialogs/Gallery.h"
#include "dialogs/FileFilters.h"
#include "dialogs/LinkHistory.h"

#include <gtest/gtest.h>

#include <regex>

using namespace dialogs;

namespace {

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(Gallery, ShownSizeKeepsTheAspectWithTheLongerSideAt120) {
    struct Case {
        long width, height, shownWidth, shownHeight;
    } cases[] = {
        {200, 100, 120, 60}, {100, 300, 40, 120},  {0, 0, 0, 120},
        {50, 0, 120, 0},     {120, 120, 120, 120}, {7, 3, 120, 51},
    };
    for (const Case& c : cases) {
        ShownSize s = shownSize(c.width, c.height);
        EXPECT_EQ(s.width, c.shownWidth) << c.width << "x" << c.height;
        EXPECT_EQ(s.height, c.shownHeight) << c.width << "x" << c.height;
    }
}

TEST(Gallery, NinePicturesMakeRowsOfFourFourAndOne) {
    std::vector<GalleryPicture> pictures;
    for (int i = 0; i < 9; ++i)
        pictures.push_back({"http://site/p" + std::to_string(i) + ".gif", "200", "100"});
    std::string page = galleryPage("http://site/", pictures);

    std::smatch rows;
    std::regex row("<tr>\r\n((?:<td id=[^\r]*\r\n)*)</tr>\r\n");
    std::vector<size_t> cells;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), row);
         it != std::sregex_iterator(); ++it)
        cells.push_back(count((*it)[1].str(), "<td id="));
    EXPECT_EQ(cells, (std::vector<size_t>{4, 4, 1}));
    EXPECT_NE(page.find("<td id=\"http://site/p8.gif[200][100]\" width=150 height=150>"),
              std::string::npos);
    EXPECT_NE(page.find("width=\"120\" height=\"60\""), std::string::npos);
    EXPECT_NE(page.find("<font size=\"1\">H=100 W=200</font>"), std::string::npos);

    // A page without pictures still has its header and an empty table.
    EXPECT_EQ(galleryPage("http://site/", {}),
              "<html><head><meta charset=\"utf-8\"></head><body leftmargin=\"0\" topmargin=\"0\" "
              "marginwidth=\"0\" marginheight=\"0\">\r\n<font size=2>Images from: "
              "http://site/</font><table border=\"1\" align=\"center\" cellpadding=\"0\" "
              "cellspacing=\"0\">\r\n</table></body></html>\r\n");
}

TEST(Gallery, ValuesFromTheOtherPageAreEscapedAndOddSizesReadAsNumbers) {
    std::string page =
        galleryPage("http://site/?a=\"<b>", {{"http://x/\"><script>alert(1)</script>", "50%", ""},
                                             {"x' onerror='alert(2)", "abc", "40"}});
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(page.find("onerror='"), std::string::npos);
    EXPECT_NE(page.find("id=\"http://x/&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;[50][0]\""),
              std::string::npos);
    EXPECT_NE(page.find("id=\"x&#39; onerror=&#39;alert(2)[0][40]\""), std::string::npos);
    // Without a size the picture keeps within the same box.
    EXPECT_EQ(count(page, "style=\"max-width:120px;max-height:120px\""), 2u);
}

TEST(Gallery, ACellIdGivesTheAddressAndSizeEvenWithBracketsInTheAddress) {
    struct Case {
        std::string id;
        bool valid;
        std::string src, width, height;
    } cases[] = {
        {"http://s/a.gif[200][100]", true, "http://s/a.gif", "200", "100"},
        {"http://s/a[1].gif?x=[2][30][4]", true, "http://s/a[1].gif?x=[2]", "30", "4"},
        {"http://s/a.gif[][]", true, "http://s/a.gif", "", ""},
        {"", false, "", "", ""},
        {"plain", false, "", "", ""},
        {"[1][2]", false, "", "", ""},
    };
    for (const Case& c : cases) {
        ChosenPicture chosen;
        ASSERT_EQ(parseCellId(c.id, chosen), c.valid) << c.id;
        if (!c.valid)
            continue;
        EXPECT_EQ(chosen.src, c.src) << c.id;
        EXPECT_EQ(chosen.width, c.width) << c.id;
        EXPECT_EQ(chosen.height, c.height) << c.id;
    }
}

TEST(LinkHistory, ANewAddressFromTheMiddleDropsTheCurrentEntryAndTheRest) {
    LinkHistory history;
    EXPECT_EQ(history.current(), -1);
    for (const char* address : {"http://a/", "http://b/", "http://c/"})
        history.visit(address);
    history.visit("HTTP://B/"); // back to B, in another letter case
    EXPECT_EQ(history.current(), 1);
    EXPECT_EQ(history.previous(), "http://a/");
    EXPECT_EQ(history.next(), "http://c/");

    history.visit("http://d/");
    EXPECT_EQ(history.entries(), (std::vector<std::string>{"http://a/", "http://d/"}));
    EXPECT_EQ(history.current(), 1);
    EXPECT_EQ(history.next(), "");
}

TEST(FileAddress, APathBecomesAFileUriWithForwardSlashes) {
    EXPECT_EQ(fileAddress("/home/me/My docs/a#1.doc"), "file:///home/me/My%20docs/a%231.doc");
    EXPECT_EQ(fileAddress("C:\\Mes documents\\cv.doc"), "file:///C:/Mes documents/cv.doc");
    auto filters = parseFilter("Word (*.doc)|*.doc|All (*.*)|*.*;*");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[1].name, "All (*.*)");
    EXPECT_EQ(filters[1].patterns, (std::vector<std::string>{"*.*", "*"}));
}

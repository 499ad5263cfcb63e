#include "publishing/ftp/FtpReply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ftp;

TEST(FtpReplyTest, PortArgumentIsTheAddressThenThePortInTwoBytes) {
    EXPECT_EQ(portArgument(0xC0A80102, 5001), "192,168,1,2,19,137");
    EXPECT_EQ(portArgument(0x7F000001, 255), "127,0,0,1,0,255");
    EXPECT_EQ(portArgument(0x0A000001, 65535), "10,0,0,1,255,255");
}

TEST(FtpReplyTest, MultiLineRepliesEndOnlyOnTheirCodeAndABlank) {
    struct Case {
        const char* line;
        bool ends;
    } cases[] = {{"230 Done", true},
                 {"230-More", false},
                 {"231 Other code", false},
                 {" 230 Indented", false},
                 {"ok", false},
                 {"230", false},
                 {"", false},
                 {" ", false},
                 {"2301", false}};
    for (const auto& c : cases)
        EXPECT_EQ(endsMultiLineReply("230-Welcome", c.line), c.ends) << c.line;
    EXPECT_TRUE(opensMultiLineReply("230-Welcome"));
    EXPECT_FALSE(opensMultiLineReply("230 Welcome"));
    EXPECT_EQ(replyCode("2x0 odd"), 0);
}

TEST(FtpReplyTest, ReplyTextDropsOnlyARealCode) {
    struct Case {
        std::vector<std::string> lines;
        const char* text;
    } cases[] = {{{"550 No such file"}, "No such file"},
                 {{"Service unavailable"}, "Service unavailable"},
                 {{"230-Welcome", " indented", "", "230 Done"}, "Welcome\n indented\n\nDone"},
                 {{"215"}, ""},
                 {{"2150 odd"}, "2150 odd"}};
    for (const auto& c : cases)
        EXPECT_EQ((FtpReply{replyCode(c.lines[0]), c.lines}).text(), c.text) << c.lines[0];
}

TEST(FtpReplyTest, SizesAreNeverNegative) {
    EXPECT_EQ(announcedSize(FtpReply{150, {"150 Opening (-5 bytes)"}}), 0);
    EXPECT_EQ(announcedSize(FtpReply{150, {"150 Opening (+5 bytes)"}}), 0);
    EXPECT_EQ(announcedSize(FtpReply{150, {"150 Opening (5 bytes)"}}), 5);
    EXPECT_EQ(sizeFromReply(FtpReply{213, {"213 -3"}}), -1);
}

// The listing arrives in pieces that may split anywhere, a CR LF included.
TEST(FtpReplyTest, AListingSplitPieceByPieceGivesTheSameLines) {
    const std::string listing = "a.htm\r\nb.htm\nc.htm\rd.htm\r\n\r\ne.htm\r\r\nf";
    for (size_t piece = 1; piece <= listing.size(); ++piece) {
        ListingLines lines;
        for (size_t at = 0; at < listing.size(); at += piece)
            lines.add(listing.data() + at, std::min(piece, listing.size() - at));
        EXPECT_EQ(lines.finish(), (std::vector<std::string>{"a.htm", "b.htm", "c.htm", "d.htm", "",
                                                            "e.htm", "", "f"}))
            << "pieces of " << piece;
    }
}

#include "publishing/ftp/FtpReply.h"

#include <gtest/gtest.h>

using namespace ftp;

TEST(FtpReplyTest, PortArgumentIsTheAddressThenThePortInTwoBytes) {
    EXPECT_EQ(portArgument(0xC0A80102, 5001), "192,168,1,2,19,137");
    EXPECT_EQ(portArgument(0x7F000001, 255), "127,0,0,1,0,255");
    EXPECT_EQ(portArgument(0x0A000001, 65535), "10,0,0,1,255,255");
}

TEST(FtpReplyTest, MultiLineRepliesEndOnTheirCodeAndABlankOrOnAShortLine) {
    struct Case {
        const char* line;
        bool ends;
    } cases[] = {{"230 Done", true},       {"230-More", false}, {"231 Other code", false},
                 {" 230 Indented", false}, {"ok", true},        {"230", true},
                 {"2301", false}};
    for (const auto& c : cases)
        EXPECT_EQ(endsMultiLineReply("230-Welcome", c.line), c.ends) << c.line;
    EXPECT_TRUE(opensMultiLineReply("230-Welcome"));
    EXPECT_FALSE(opensMultiLineReply("230 Welcome"));
    EXPECT_EQ(replyCode("2x0 odd"), 0);
}

#include "platform/com/Guid.h"

#include <gtest/gtest.h>

TEST(Guid, TextFormIsUpperCaseWithBraces) {
    GUID g{0x00021494, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    EXPECT_EQ(com::guidToString(g), "{00021494-0000-0000-C000-000000000046}");
    GUID h{0xabcdef01, 0x2345, 0x6789, {0xab, 0xcd, 0xef, 0x01, 0x23, 0x45, 0x67, 0x89}};
    EXPECT_EQ(com::guidToString(h), "{ABCDEF01-2345-6789-ABCD-EF0123456789}");
    EXPECT_EQ(com::guidFromString(com::guidToString(h)), h);
    EXPECT_EQ(com::guidFromString("{abcdef01-2345-6789-abcd-ef0123456789}"), h);
}

TEST(Guid, MalformedTextIsRejected) {
    for (const char* text :
         {"", "{}", "ABCDEF01-2345-6789-ABCD-EF0123456789",
          "{ABCDEF01-2345-6789-ABCD-EF012345678G}", "{ABCDEF01+2345-6789-ABCD-EF0123456789}"})
        EXPECT_FALSE(com::guidFromString(text).has_value()) << text;
}

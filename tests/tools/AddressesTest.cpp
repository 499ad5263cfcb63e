// The addresses the picture and link tools write into pages.

#include "tools/Images.h"
#include "tools/Links.h"

#include <gtest/gtest.h>

TEST(Addresses, APictureFromDiskBecomesAFileAddressTheEngineAndPublishingRead) {
    struct Case {
        const char* path;
        const char* uri;
    };
    const Case cases[] = {
        {"/home/ann/pic.jpg", "file:///home/ann/pic.jpg"},
        {"/home/ann/My Pictures/a&b #1?.JPG", "file:///home/ann/My%20Pictures/a%26b%20%231%3F.JPG"},
        {"/tmp/100%/x~y_z-1.gif", "file:///tmp/100%25/x~y_z-1.gif"},
        {"/home/ann/\xc3\xa9t\xc3\xa9.jpeg", "file:///home/ann/%C3%A9t%C3%A9.jpeg"},
        {"/a/\"q\"<b>.gif", "file:///a/%22q%22%3Cb%3E.gif"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tools::fileUri(c.path), c.uri) << c.path;
}

TEST(Addresses, AnEmailSubjectKeepsWhatAMailProgramWouldCutOff) {
    struct Case {
        const char* address;
        const char* subject;
        const char* href;
    };
    const Case cases[] = {
        {"ann@example.org", "Hello", "mailto:ann@example.org?subject=Hello"},
        {"ann@example.org", "Q&A #2?", "mailto:ann@example.org?subject=Q%26A %232%3F"},
        {"ann@example.org", "100% sure", "mailto:ann@example.org?subject=100%25 sure"},
        {"", "", "mailto:?subject="},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tools::mailtoAddress(c.address, c.subject), c.href) << c.subject;
}

TEST(Addresses, PictureMarkupIsExact) {
    EXPECT_EQ(tools::imageMarkup("a b.gif"), "<img src=\"a b.gif\">");
    EXPECT_EQ(tools::positionedImageMarkup("x.jpg"),
              "<img src=\"x.jpg\" style=\"POSITION: absolute;\">");
}

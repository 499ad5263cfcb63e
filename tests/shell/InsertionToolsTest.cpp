#include "BandFormFixture.h"

#include "tools/PositionedObjects.h"
#include "tools/TForm3.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

tools::TForm3& tableDialog() {
    return *shell::processFormAs<tools::TForm3>(shell::ProcessFormSlot::Table);
}

} // namespace

TEST_F(BandFormTest, TheObjectButtonsInsertAtTheTextSelection) {
    control("designmode").click();
    fake::FakeElement* paragraph = doc().body()->append("p", {}, "Text");
    doc().selectText(paragraph, false);
    control("ToolButton5").click();
    ASSERT_THAT(doc().pasted, ElementsAre(tools::kFreeTextBox));

    dialogs.queue(std::optional<std::string>("/home/me/movies/intro.swf"));
    control("ToolButton20").click();
    ASSERT_EQ(doc().pasted.size(), 2u);
    EXPECT_EQ(doc().pasted[1], tools::flashObjectMarkup("/home/me/movies/intro.swf"));
    // A cancelled movie dialog inserts nothing.
    control("ToolButton20").click();
    EXPECT_EQ(doc().pasted.size(), 2u);
    EXPECT_THAT(dialogs.messages(), IsEmpty());
}

TEST_F(BandFormTest, TheTableDialogOpensForTextAndInsertsTheTable) {
    control("designmode").click();
    fake::FakeElement* image = doc().body()->append("img");
    doc().selectControl(image);
    control("ToolButton13").click();
    EXPECT_FALSE(tableDialog().Visible());

    doc().selectText(doc().body(), false);
    control("ToolButton13").click();
    ASSERT_TRUE(tableDialog().Visible());
    tableDialog().form()["Trows"].chooseText("2");
    tableDialog().form()["fixed"].click();
    EXPECT_FALSE(tableDialog().Visible());
    ASSERT_EQ(doc().pasted.size(), 1u);
    EXPECT_EQ(doc().pasted[0], tools::tableMarkup(tableDialog().fields()));
    EXPECT_NE(doc().pasted[0].find("</tr>\r\n<tr>"), std::string::npos);
}

TEST_F(BandFormTest, TheRowAndColumnButtonsChangeTheSelectedTable) {
    control("designmode").click();
    fake::FakeElement* table = doc().body()->append("table");
    for (int r = 0; r < 2; ++r) {
        fake::FakeElement* row = table->append("tr");
        for (int c = 0; c < 3; ++c)
            row->append("td");
    }
    doc().selectControl(table);
    control("btnTableInsRow").click();
    control("btnTableInsCol").click();
    ASSERT_EQ(table->children().size(), 3u);
    for (const auto& row : table->children())
        EXPECT_EQ(row->children().size(), 4u);
    control("btnTableDelRow").click();
    control("btnTableDelCol").click();
    ASSERT_EQ(table->children().size(), 2u);
    EXPECT_EQ(table->children()[0]->children().size(), 3u);
}

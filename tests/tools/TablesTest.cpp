#include "tools/Tables.h"
#include "support/FakeBrowser.h"
#include "support/ScriptedDialogs.h"
#include "support/TempHome.h"
#include "tools/TForm3.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace fake = browser::fake;

namespace {

const std::string kOpen = "<table  width=\"100%\" border=\"1\" cellpadding=\"2\" cellspacing=\"2\" "
                          "bordercolor=\"\" background=\"\" bgcolor=\"\">\r\n";

std::string rowsOf(int rows, int columns) {
    std::string html;
    for (int r = 0; r < rows; ++r) {
        html += "<tr>\r\n";
        for (int c = 0; c < columns; ++c)
            html += "<td>&nbsp;</td>\r\n";
        html += "</tr>\r\n";
    }
    return html;
}

struct MarkupCase {
    const char* what;
    tools::TableFields fields;
    bool absolute;
    std::string expected;
};

tools::TableFields with(void (*change)(tools::TableFields&)) {
    tools::TableFields f;
    change(f);
    return f;
}

TEST(TableMarkup, IsWrittenByteForByte) {
    const MarkupCase cases[] = {
        {"initial values", {}, false, kOpen + rowsOf(1, 1) + "</table>\r\n"},
        {"600 px wide, no height", with([](tools::TableFields& f) {
             f.width = "600";
             f.widthUnit = "px";
         }),
         false,
         "<table  width=\"600px\" border=\"1\" cellpadding=\"2\" cellspacing=\"2\" "
         "bordercolor=\"\" background=\"\" bgcolor=\"\">\r\n" +
             rowsOf(1, 1) + "</table>\r\n"},
        {"height in per cent, no width", with([](tools::TableFields& f) {
             f.width = "";
             f.height = "50";
         }),
         false,
         "<table  height=\"50%\" border=\"1\" cellpadding=\"2\" cellspacing=\"2\" "
         "bordercolor=\"\" background=\"\" bgcolor=\"\">\r\n" +
             rowsOf(1, 1) + "</table>\r\n"},
        {"3 rows by 2 columns", with([](tools::TableFields& f) {
             f.rows = "3";
             f.columns = "2";
         }),
         false, kOpen + rowsOf(3, 2) + "</table>\r\n"},
        {"colors and picture", with([](tools::TableFields& f) {
             f.border = "0";
             f.borderColor = "#ff0000";
             f.backgroundColor = "#00ff00";
             f.background = "/home/me/sky.png";
         }),
         false,
         "<table  width=\"100%\" border=\"0\" cellpadding=\"2\" cellspacing=\"2\" "
         "bordercolor=\"#ff0000\" background=\"/home/me/sky.png\" bgcolor=\"#00ff00\">\r\n" +
             rowsOf(1, 1) + "</table>\r\n"},
        {"moveable",
         {},
         true,
         "<table  style=\"POSITION: absolute;\" width=\"100%\" border=\"1\" cellpadding=\"2\" "
         "cellspacing=\"2\" bordercolor=\"\" background=\"\" bgcolor=\"\">\r\n" +
             rowsOf(1, 1) + "</table>\r\n"},
        {"no rows", with([](tools::TableFields& f) { f.rows = "0"; }), false,
         kOpen + "</table>\r\n"},
        {"rows without cells", with([](tools::TableFields& f) { f.columns = "-2"; }), false,
         kOpen + "<tr>\r\n</tr>\r\n</table>\r\n"},
    };
    for (const MarkupCase& c : cases)
        EXPECT_EQ(tools::tableMarkup(c.fields, c.absolute), c.expected) << c.what;
}

TEST(TableMarkup, ACountThatIsNoIntegerIsAnError) {
    for (const char* bad : {"", "two", "3x", "2.5"}) {
        tools::TableFields f;
        f.rows = bad;
        EXPECT_THROW(tools::tableMarkup(f), std::invalid_argument) << bad;
    }
    tools::TableFields f;
    f.columns = "many";
    EXPECT_THROW(tools::tableMarkup(f), std::invalid_argument);
}

// The table dialog on its own, headless, inserting through a recorder.
class TableDialog : public ::testing::Test {
protected:
    TableDialog() {
        dialog.pasteHTML = [this](const std::string& html) { pasted.push_back(html); };
    }
    forms::Control& field(const char* name) { return dialog.form()[name]; }

    TempHome home;
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped{dialogs};
    tools::TForm3 dialog;
    std::vector<std::string> pasted;
};

TEST_F(TableDialog, StartsWithItsInitialValuesAndHidden) {
    EXPECT_EQ(dialog.form().caption(), "Table properties");
    EXPECT_FALSE(dialog.Visible());
    const std::pair<const char*, const char*> initial[] = {
        {"Trows", "1"},        {"tcolumns", "1"},    {"twidth", "100"}, {"widthunit", "%"},
        {"theight", ""},       {"heightunit", "%"},  {"tborder", "1"},  {"Tcellpadding", "2"},
        {"Tcellspacing", "2"}, {"tbordercolor", ""}, {"Tcouleur", ""},  {"TBGImage", ""}};
    for (const auto& [name, text] : initial)
        EXPECT_EQ(field(name).text(), text) << name;
    EXPECT_FALSE(field("moveable").visible());
    EXPECT_FALSE(field("Tcouleur").visible());
    EXPECT_EQ(field("widthunit").items(), (std::vector<std::string>{"%", "px"}));
    EXPECT_EQ(field("Button3").caption(), "&Cancel");
    EXPECT_EQ(field("fixed").caption(), "Insert the table");
}

TEST_F(TableDialog, InsertsTheTableAndKeepsItsFieldsForTheNextUse) {
    dialog.Show();
    field("Trows").chooseText("3");
    field("tcolumns").chooseText("2");
    field("twidth").setText("600");
    field("widthunit").chooseText("px");
    field("fixed").click();
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_NE(pasted[0].find("width=\"600px\""), std::string::npos);
    EXPECT_EQ(pasted[0].find("height="), std::string::npos);
    EXPECT_FALSE(dialog.Visible());

    dialog.Show();
    EXPECT_EQ(field("Trows").text(), "3");
    EXPECT_EQ(field("widthunit").text(), "px");
    EXPECT_EQ(field("grid").gridShape().rows, 3);
    field("Button3").click();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(pasted.size(), 1u);
}

TEST_F(TableDialog, ABadCountInsertsNothingAndLeavesTheDialogOpen) {
    dialog.Show();
    field("tcolumns").chooseText("two");
    EXPECT_THROW(dialog.fixedClick(), std::invalid_argument);
    EXPECT_THAT(pasted, IsEmpty());
    EXPECT_TRUE(dialog.Visible());
}

TEST_F(TableDialog, ThePreviewGridFollowsTheCounts) {
    struct Case {
        const char* rows;
        const char* columns;
        int gridRows, gridColumns, columnWidth, rowHeight;
    } cases[] = {
        {"3", "5", 3, 5, 75, 35},
        {"2", "0", 2, 1, 375, 52},   // never fewer than one column
        {"abc", "4", 2, 1, 375, 52}, // not a number: the grid stays as it was
    };
    for (const Case& c : cases) {
        field("Trows").chooseText(c.rows);
        field("tcolumns").chooseText(c.columns);
        const auto& shape = field("grid").gridShape();
        EXPECT_EQ(shape.rows, c.gridRows) << c.rows << " by " << c.columns;
        EXPECT_EQ(shape.columns, c.gridColumns) << c.rows << " by " << c.columns;
        EXPECT_EQ(shape.columnWidth, c.columnWidth) << c.rows << " by " << c.columns;
        EXPECT_EQ(shape.rowHeight, c.rowHeight) << c.rows << " by " << c.columns;
    }
}

TEST_F(TableDialog, ColorsAndPictureLandInTheMarkup) {
    field("dfsColorButton1").chooseColor(0x0000FF); // red in the low byte
    field("tbackground").chooseColor(0x123456);
    EXPECT_EQ(field("tbordercolor").text(), "#ff0000");
    EXPECT_EQ(field("Tcouleur").text(), "#563412");

    std::string picture = (home.path() / "sky.png").string();
    std::ofstream(picture) << "png";
    dialogs.queue(std::optional<std::string>(picture));
    field("Imagenormal1").click();
    EXPECT_EQ(field("TBGImage").text(), picture);
    // A file that is not there changes nothing.
    dialogs.queue(std::optional<std::string>((home.path() / "gone.png").string()));
    field("Imagenormal1").click();
    EXPECT_EQ(field("TBGImage").text(), picture);

    dialog.fixedClick();
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_NE(pasted[0].find("bordercolor=\"#ff0000\" background=\"" + picture +
                             "\" bgcolor=\"#563412\">"),
              std::string::npos);
}

// The row and column buttons on a 2 by 3 table of a fake document.
class TableButtons : public ::testing::Test {
protected:
    void SetUp() override {
        browser->document = fake::FakeDocument::create();
        table = doc().body()->append("table");
        for (int r = 0; r < 2; ++r) {
            fake::FakeElement* row = table->append("tr");
            for (int c = 0; c < 3; ++c)
                row->append("td", {}, "x");
        }
        text = doc().body()->append("p", {}, "Some text");
        doc().selectControl(table);
    }
    fake::FakeDocument& doc() { return *browser->document; }
    // The number of cells of each row.
    std::vector<size_t> shape() {
        std::vector<size_t> cells;
        for (const auto& row : table->children())
            cells.push_back(row->children().size());
        return cells;
    }
    void press(void (*button)(IWebBrowser2*)) { button(browser.get()); }

    ComPtr<fake::FakeBrowser> browser = fake::FakeBrowser::create();
    fake::FakeElement* table = nullptr;
    fake::FakeElement* text = nullptr;
};

TEST_F(TableButtons, AddAndRemoveRowsAndColumnsAtTheEnd) {
    press(tools::btnTableInsRowClick);
    EXPECT_THAT(shape(), ElementsAre(3, 3, 3));
    std::string lastRow;
    table->children().back()->get_innerHTML(&lastRow);
    EXPECT_EQ(lastRow, "<td></td><td></td><td></td>");
    press(tools::btnTableInsColClick);
    EXPECT_THAT(shape(), ElementsAre(4, 4, 4));
    press(tools::btnTableDelRowClick);
    EXPECT_THAT(shape(), ElementsAre(4, 4));
    press(tools::btnTableDelColClick);
    press(tools::btnTableDelColClick);
    EXPECT_THAT(shape(), ElementsAre(2, 2));
    // The first cells are the ones that stay.
    std::string first;
    table->children().front()->get_innerHTML(&first);
    EXPECT_EQ(first, "<td>x</td><td>x</td>");
}

TEST_F(TableButtons, DoNothingWithoutATableSelected) {
    fake::FakeElement* image = doc().body()->append("img");
    for (bool textSelected : {true, false}) {
        if (textSelected)
            doc().selectText(text);
        else
            doc().selectControl(image);
        for (auto button : {tools::btnTableInsRowClick, tools::btnTableInsColClick,
                            tools::btnTableDelRowClick, tools::btnTableDelColClick})
            press(button);
        EXPECT_THAT(shape(), ElementsAre(3, 3));
    }
}

TEST_F(TableButtons, AColumnGoesIntoEveryRowOrNone) {
    // The second row is shorter than the first.
    table->children().back()->children().back()->remove();
    ASSERT_THAT(shape(), ElementsAre(3, 2));
    press(tools::btnTableInsColClick);
    EXPECT_THAT(shape(), ElementsAre(3, 2));
    press(tools::btnTableDelColClick);
    EXPECT_THAT(shape(), ElementsAre(3, 2));
    // Rows may be longer than the first: they take the column too.
    table->children().front()->children().back()->remove();
    table->children().front()->children().back()->remove();
    ASSERT_THAT(shape(), ElementsAre(1, 2));
    press(tools::btnTableInsColClick);
    EXPECT_THAT(shape(), ElementsAre(2, 3));
}

TEST_F(TableButtons, DeletingTheLastRowLeavesAnEmptyTable) {
    press(tools::btnTableDelRowClick);
    press(tools::btnTableDelRowClick);
    EXPECT_THAT(shape(), IsEmpty());
    press(tools::btnTableDelRowClick);
    press(tools::btnTableDelColClick);
    EXPECT_TRUE(table->connected());
    press(tools::btnTableInsRowClick);
    EXPECT_THAT(shape(), IsEmpty());
}

} // namespace

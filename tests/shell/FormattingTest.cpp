#include "BandFormFixture.h"

#include "tools/Formatting.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct Case {
    const char* control;
    const char* hint;
    fake::CommandCall sent;
};

const browser::Value kEmpty;

// Every button of the formatting and edit toolbars, with the command a click
// sends. The indentation buttons do what their hints say.
const Case kCases[] = {
    {"btnBold", "Bold", {"Bold", true, true}},
    {"btnItalic", "Italic", {"Italic", true, true}},
    {"btnUnderline", "Underscore", {"Underline", true, true}},
    {"btnAlignLeft", "Left Justify", {"JustifyLeft", true, true}},
    {"btnAlignCenter", "Center", {"JustifyCenter", true, true}},
    {"btnAlignRight", "Right Justify", {"JustifyRight", true, true}},
    {"ToolButton70", "", {"RemoveFormat", true, true}},
    {"btnNumberedList", "Numbered List", {"InsertOrderedList", true, true}},
    {"btnBulletedList", "Bulleted List", {"InsertUnorderedList", true, kEmpty}},
    {"btnIndentLeft", "Outdent", {"Outdent", true, kEmpty}},
    {"btnIndentRight", "Indent", {"Indent", true, kEmpty}},
    {"ToolButton28", "Insert horizontal bar", {"InsertHorizontalRule", true, kEmpty}},
    {"btnPrint", "Print the document", {"print", true, kEmpty}},
    {"btnCut", "Cut", {"Cut", true, true}},
    {"btnCopy", "Copy", {"Copy", true, true}},
    {"btnPaste", "Paste", {"Paste", true, true}},
    {"btnUndo", "Undo change", {"Undo", true, true}},
    {"btnRedo", "Redo change", {"Redo", true, true}},
    {"ToolButton35",
     "Make an object draggable and absolute poistionned",
     {"AbsolutePosition", false, true}},
    {"ToolButton19",
     "Make an object normal aligned and relative poistionned",
     {"AbsolutePosition", false, false}},
};

} // namespace

TEST_F(BandFormTest, EachCommandButtonSendsItsCommand) {
    control("designmode").click();
    for (const Case& c : kCases) {
        doc().commands.clear();
        EXPECT_EQ(control(c.control).hint(), c.hint) << c.control;
        control(c.control).click();
        EXPECT_THAT(doc().commands, ElementsAre(c.sent)) << c.control;
    }
    EXPECT_EQ(tools::toolCommands().size(), std::size(kCases));
}

TEST_F(BandFormTest, CommandButtonsAreInertOutsideEditMode) {
    for (const Case& c : kCases)
        control(c.control).click();
    control("cmbFontSize").chooseText("+3");
    EXPECT_THAT(doc().commands, IsEmpty());
}

TEST_F(BandFormTest, FontBoxesAndColorPickerSendTheirChoiceAsText) {
    control("designmode").click();
    doc().commands.clear();
    control("cmbFontSize").chooseText("+3");
    control("cmbFontSize").chooseText("-1");
    control("cmbFontName").chooseText("Georgia, Times New Roman, Times, serif");
    control("cmdcolor").chooseColor(0x123456); // blue 0x12, green 0x34, red 0x56
    EXPECT_THAT(
        doc().commands,
        ElementsAre(fake::CommandCall{"FontSize", true, "+3"},
                    fake::CommandCall{"FontSize", true, "-1"},
                    fake::CommandCall{"fontname", true, "Georgia, Times New Roman, Times, serif"},
                    fake::CommandCall{"FORECOLOR", true, "#563412"}));
}

TEST_F(BandFormTest, AlignmentButtonsKeepAtMostOneDown) {
    control("designmode").click();
    control("btnAlignLeft").click();
    control("btnAlignCenter").click();
    EXPECT_FALSE(control("btnAlignLeft").down());
    EXPECT_TRUE(control("btnAlignCenter").down());
    control("btnAlignCenter").click();
    EXPECT_FALSE(control("btnAlignCenter").down());
}

TEST_F(BandFormTest, PasteHtmlGoesIntoTheTextRangeAndFailsOnASelectedObject) {
    form->pasteHTML("<b>x</b>");
    EXPECT_THAT(doc().pasted, ElementsAre("<b>x</b>"));
    doc().selectControl(doc().body()->append("hr"));
    EXPECT_THROW(form->pasteHTML("<hr>"), std::runtime_error);
}

TEST_F(BandFormTest, TheGlyphSwitchShowsAndHidesTheGlyphs) {
    control("designmode").click();
    std::string directory = form->FWindowsFolder;
    ASSERT_EQ(doc().execs.size(), 5u);
    EXPECT_EQ(doc().execs[1].in.toText(),
              "%%br^^%%" + directory + "br.gif^^%%0^^%%3^^%%3^^%%4^^%%11^^%%11^^%%11^^%%11^^**");
    EXPECT_EQ(doc().execs[4].in.toText(),
              "%%table^^%%" + directory +
                  "tablepetit.gif^^%%0^^%%3^^%%3^^%%4^^%%11^^%%11^^%%11^^%%11^^**");
    for (const char* picture : {"br.gif", "linkpetit.gif", "imagepetit.gif", "tablepetit.gif"})
        EXPECT_TRUE(std::filesystem::exists(directory + picture)) << picture;
    EXPECT_EQ(control("Memo1").lines().back(), "chemin=" + directory);

    doc().execs.clear();
    control("pi").click();
    EXPECT_FALSE(control("pi").down());
    EXPECT_EQ(control("pi").hint(), "Show glyphs");
    EXPECT_THAT(doc().execs, ElementsAre(fake::ExecCall{IDM_EMPTYGLYPHTABLE, true},
                                         fake::ExecCall{IDM_SHOWZEROBORDERATDESIGNTIME, false}));
    control("pi").click();
    EXPECT_EQ(control("pi").hint(), "Hide glyphs");
    EXPECT_EQ(doc().execs.size(), 7u);
}

// Editor commands and their value formats against the real engine.

#include "EngineView.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using browser::Value;
using enginetest::engine;

namespace {

// Shows the markup in design mode with the contents of #sel selected.
browser::Document editPage(const std::string& body) {
    engine().load("<html><head><title>T</title></head><body>" + body + "</body></html>");
    auto doc = engine().document();
    doc.setDesignMode("On");
    engine().eval("(function(){var e=document.getElementById('sel');if(!e)return;"
                  "var r=document.createRange();r.selectNodeContents(e);"
                  "var s=getSelection();s.removeAllRanges();s.addRange(r);})()");
    return doc;
}

std::string bodyHtml() {
    return engine().eval("document.body.innerHTML");
}

struct CommandCase {
    const char* name;
    const char* body;
    const char* command;
    Value value;
    const char* expected;   // in the body's markup afterwards
    const char* unexpected; // no longer in it
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class Commands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(Commands, ChangeTheMarkup) {
    const CommandCase& c = GetParam();
    auto doc = editPage(c.body);
    EXPECT_TRUE(doc.execCommand(c.command, true, c.value)) << c.command;
    std::string html = bodyHtml();
    if (*c.expected) {
        EXPECT_NE(html.find(c.expected), std::string::npos) << html;
    }
    if (*c.unexpected) {
        EXPECT_EQ(html.find(c.unexpected), std::string::npos) << html;
    }
}

const char* kPara = "<p id=\"sel\">Hello</p><p>World</p>";

INSTANTIATE_TEST_SUITE_P(
    Editor, Commands,
    ::testing::Values(
        CommandCase{"Bold", kPara, "Bold", true, "<b>Hello</b>", ""},
        CommandCase{"Italic", kPara, "Italic", true, "<i>Hello</i>", ""},
        CommandCase{"Underline", kPara, "Underline", true, "<u>Hello</u>", ""},
        CommandCase{"JustifyLeft", "<p id=\"sel\" align=\"right\">Hello</p>", "JustifyLeft", true,
                    "text-align: left", ""},
        CommandCase{"JustifyCenter", kPara, "JustifyCenter", true, "center", ""},
        CommandCase{"JustifyRight", kPara, "JustifyRight", true, "right", ""},
        CommandCase{"RemoveFormat", "<p><b id=\"sel\">Hello</b></p>", "RemoveFormat", true, "Hello",
                    "<b"},
        CommandCase{"InsertOrderedList", kPara, "InsertOrderedList", true, "<ol><li>Hello", ""},
        CommandCase{"InsertUnorderedList", kPara, "InsertUnorderedList", Value(), "<ul><li>Hello",
                    ""},
        // The button hinted "Outdent" sends Indent, the one hinted "Indent" sends Outdent.
        CommandCase{"Indent", kPara, "Indent", Value(), "<blockquote", ""},
        CommandCase{"Outdent", "<blockquote><p id=\"sel\">Hello</p></blockquote>", "Outdent",
                    Value(), "Hello", "<blockquote"},
        CommandCase{"InsertHorizontalRule", kPara, "InsertHorizontalRule", Value(), "<hr", ""},
        CommandCase{"FontName", kPara, "fontname", "Georgia, Times New Roman, Times, serif",
                    "face=\"Georgia, Times New Roman, Times, serif\"", ""},
        CommandCase{"FontSizePlus3", kPara, "FontSize", "+3", "<font size=\"6\">Hello", ""},
        CommandCase{"FontSizeMinus1", kPara, "FontSize", "-1", "<font size=\"2\">Hello", ""},
        CommandCase{"FontSize5", kPara, "FontSize", "5", "<font size=\"5\">Hello", ""},
        CommandCase{"ForeColor", kPara, "FORECOLOR", "#563412", "color=\"#563412\"", ""},
        CommandCase{"CreateLink", kPara, "createlink", "http://example.org/a.htm",
                    "<a href=\"http://example.org/a.htm\">Hello</a>", ""},
        CommandCase{"Unlink", "<p><a id=\"sel\" href=\"x.htm\">Hello</a></p>", "Unlink", true,
                    "Hello", "<a "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EngineCommands, CutPasteUndoAndRedoRestoreTheText) {
    auto doc = editPage(kPara);
    doc.execCommand("Copy", true, true);
    doc.execCommand("Cut", true, true);
    EXPECT_EQ(bodyHtml().find("Hello"), std::string::npos) << bodyHtml();
    doc.execCommand("Paste", true, true);
    EXPECT_NE(bodyHtml().find("Hello"), std::string::npos) << bodyHtml();

    doc = editPage(kPara);
    doc.execCommand("Bold", true, true);
    doc.execCommand("Undo", true, true);
    EXPECT_EQ(bodyHtml().find("<b>"), std::string::npos) << bodyHtml();
    doc.execCommand("Redo", true, true);
    EXPECT_NE(bodyHtml().find("<b>Hello</b>"), std::string::npos) << bodyHtml();
}

struct QueryCase {
    const char* name;
    const char* body;
    const char* command;
    Value expected;
};

void PrintTo(const QueryCase& c, std::ostream* os) {
    *os << c.name;
}

class Queries : public ::testing::TestWithParam<QueryCase> {};

TEST_P(Queries, AnswerInTheEditorsFormat) {
    const QueryCase& c = GetParam();
    auto doc = editPage(c.body);
    EXPECT_EQ(doc.queryCommandValue(c.command).toText(), c.expected.toText());
    EXPECT_EQ(doc.queryCommandValue(c.command).isNull(), c.expected.isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Editor, Queries,
    ::testing::Values(
        QueryCase{"BoldTrue", "<p><b id=\"sel\">Hi</b></p>", "Bold", true},
        QueryCase{"BoldFalse", "<p id=\"sel\">Hi</p>", "Bold", false},
        QueryCase{"Italic", "<p><i id=\"sel\">Hi</i></p>", "Italic", true},
        QueryCase{"Underline", "<p><u id=\"sel\">Hi</u></p>", "Underline", true},
        QueryCase{"FontName", "<p><font id=\"sel\" face=\"Tahoma\">Hi</font></p>", "FontName",
                  "Tahoma"},
        QueryCase{
            "FontNameMixed",
            "<p id=\"sel\"><font face=\"Tahoma\">Hi</font> <font face=\"Arial\">Ho</font></p>",
            "FontName", Value()},
        QueryCase{"FontSize3", "<p id=\"sel\">Hi</p>", "fontsize", 3},
        QueryCase{"FontSize6", "<p><font id=\"sel\" size=\"6\">Hi</font></p>", "fontsize", 6},
        QueryCase{"FontSize1", "<p><font id=\"sel\" size=\"1\">Hi</font></p>", "fontsize", 1},
        QueryCase{"FontSizeMixed",
                  "<p id=\"sel\"><font size=\"2\">Hi</font> <font size=\"5\">Ho</font></p>",
                  "fontsize", Value()},
        // red 86, green 52, blue 18 with red in the low byte
        QueryCase{"ForeColor", "<p><font id=\"sel\" color=\"#563412\">Hi</font></p>", "ForeColor",
                  86 + 52 * 256 + 18 * 65536},
        QueryCase{
            "ForeColorMixed",
            "<p id=\"sel\"><font color=\"#ff0000\">Hi</font> <font color=\"#0000ff\">Ho</font></p>",
            "ForeColor", Value()}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

// The table dialog and the row and column buttons on a real page.

#include "EngineView.h"

#include "support/ScriptedDialogs.h"
#include "tools/Formatting.h"
#include "tools/TForm3.h"
#include "tools/Tables.h"

#include <gtest/gtest.h>

#include <string>

using enginetest::engine;

namespace {

// The number of cells of each row, as "3 3".
std::string shape() {
    return engine().eval("Array.from(document.getElementById('t').rows).map(function(r){"
                         "return r.cells.length;}).join(' ')");
}

TEST(EngineTables, TheButtonsChangeTheSelectedTableAtItsEnd) {
    engine().load("<html><body style=\"margin:20px\"><p id=\"p\">Text</p>"
                  "<table id=\"t\" border=\"6\" cellspacing=\"6\"><tr><td>a</td><td>b</td>"
                  "<td>c</td></tr><tr><td>d</td><td>e</td><td>f</td></tr></table></body></html>");
    auto doc = engine().document();
    doc.setDesignMode("On");
    IWebBrowser2* ie = engine().browser().get();

    // With text selected the buttons do nothing.
    auto p = engine().rect("#p");
    engine().click(p.x + 5, p.centerY());
    for (auto button : {tools::btnTableInsRowClick, tools::btnTableInsColClick,
                        tools::btnTableDelRowClick, tools::btnTableDelColClick})
        button(ie);
    EXPECT_EQ(shape(), "3 3");

    auto t = engine().rect("#t");
    engine().click(t.x + 2, t.y + 2);
    ASSERT_EQ(doc.selection().type(), "Control");
    tools::btnTableInsRowClick(ie);
    EXPECT_EQ(shape(), "3 3 3");
    EXPECT_EQ(engine().eval("document.getElementById('t').rows[2].innerHTML"),
              "<td></td><td></td><td></td>");
    tools::btnTableInsColClick(ie);
    EXPECT_EQ(shape(), "4 4 4");
    tools::btnTableDelRowClick(ie);
    EXPECT_EQ(shape(), "4 4");
    tools::btnTableDelColClick(ie);
    tools::btnTableDelColClick(ie);
    EXPECT_EQ(shape(), "2 2");
    EXPECT_EQ(engine().eval("document.getElementById('t').rows[1].textContent"), "de");
}

TEST(EngineTables, TheDialogInsertsItsTableAtTheCaret) {
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped{dialogs};
    engine().load("<html><body><p id=\"p\">Before after</p></body></html>");
    auto doc = engine().document();
    doc.setDesignMode("On");
    engine().eval("getSelection().collapse(document.getElementById('p').firstChild, 7)");

    tools::TForm3 dialog;
    IWebBrowser2* ie = engine().browser().get();
    dialog.pasteHTML = [ie](const std::string& html) { tools::pasteHTML(ie, html); };
    dialog.Show();
    dialog.form()["Trows"].chooseText("3");
    dialog.form()["tcolumns"].chooseText("2");
    dialog.form()["tbackground"].chooseColor(0x00FF00);
    dialog.form()["fixed"].click();
    EXPECT_FALSE(dialog.Visible());

    auto table = doc.all().tags("table").item(0);
    ASSERT_FALSE(table.isNull());
    EXPECT_EQ(table.getAttribute("width").toText(), "100%");
    EXPECT_EQ(table.getAttribute("bgcolor").toText(), "#00ff00");
    EXPECT_EQ(table.getAttribute("bordercolor").toText(), "");
    EXPECT_TRUE(table.getAttribute("height").isNull());
    EXPECT_EQ(engine().eval("Array.from(document.querySelector('table').rows).map(function(r){"
                            "return r.cells.length;}).join(' ')"),
              "2 2 2");
    EXPECT_EQ(engine().eval("document.querySelector('td').textContent"), "\u00a0");
}

} // namespace

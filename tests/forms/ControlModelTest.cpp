#include "forms/BandFormDescription.h"
#include "forms/Form.h"
#include "forms/SystemColors.h"
#include "support/ScriptedDialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using forms::ControlDesc;
using forms::Kind;

namespace {

ControlDesc make(const char* name, Kind kind, const char* parent = "", int group = 0,
                 bool allowAllUp = false) {
    ControlDesc c;
    c.name = name;
    c.kind = kind;
    c.parent = parent;
    c.groupIndex = group;
    c.allowAllUp = allowAllUp;
    return c;
}

forms::FormDesc bar() {
    forms::FormDesc d = forms::namedForm("Test");
    d.controls = {make("bar", Kind::ToolBar),
                  make("check", Kind::CheckButton, "bar"),
                  make("a", Kind::CheckButton, "bar", 1, true),
                  make("b", Kind::CheckButton, "bar", 1, true),
                  make("fixed", Kind::CheckButton, "bar", 2, false),
                  make("plain", Kind::Button, "bar"),
                  make("color", Kind::ColorPicker, "bar")};
    return d;
}

} // namespace

TEST(ControlModel, TwoStateButtonsFlipAsTheirGroupAllows) {
    forms::Form form(bar());
    form["check"].click();
    EXPECT_TRUE(form["check"].down());
    form["check"].click();
    EXPECT_FALSE(form["check"].down());

    form["a"].click();
    form["b"].click();
    EXPECT_FALSE(form["a"].down());
    EXPECT_TRUE(form["b"].down());
    form["b"].click();
    EXPECT_FALSE(form["b"].down());

    form["fixed"].click();
    form["fixed"].click();
    EXPECT_TRUE(form["fixed"].down());
    form["plain"].click();
    EXPECT_FALSE(form["plain"].down());
}

TEST(ControlModel, DisabledControlsIgnoreTheUser) {
    forms::Form form(bar());
    int runs = 0;
    form["check"].onClick = [&] { ++runs; };
    form["check"].setEnabled(false);
    form["check"].click();
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(form["check"].down());
}

TEST(ControlModel, ThePickerRunsItsHandlerOnlyForAChoiceThatChangesIt) {
    forms::Form form(bar());
    std::vector<forms::ColorValue> seen;
    form["color"].onChange = [&] { seen.push_back(form["color"].color()); };
    form["color"].setColor(5);
    form["color"].chooseColor(5);
    form["color"].chooseColor(7);
    EXPECT_EQ(seen, std::vector<forms::ColorValue>{7});
}

TEST(ControlModel, ListenersSeeEveryChangeOnce) {
    forms::Form form(bar());
    int changes = 0;
    form["plain"].listen([&](forms::Control&) { ++changes; });
    form["plain"].setCaption("x");
    form["plain"].setCaption("x");
    form["plain"].setHint("h");
    form["plain"].setEnabled(false);
    EXPECT_EQ(changes, 3);
}

TEST(ControlModel, AHandlerErrorIsReportedAndTheProgramGoesOn) {
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped(dialogs);
    forms::Form form(bar());
    form["plain"].onClick = [] { throw std::runtime_error("Disk full"); };
    form["plain"].click();
    EXPECT_THAT(dialogs.messages(), ::testing::ElementsAre("Disk full."));
}

TEST(ControlModel, ADescriptionMustNameEachControlOnceAfterItsParent) {
    forms::FormDesc twice = bar();
    twice.controls.push_back(make("plain", Kind::Button));
    EXPECT_THROW(forms::Form{twice}, std::logic_error);
    forms::FormDesc orphan = bar();
    orphan.controls.push_back(make("x", Kind::Button, "nowhere"));
    EXPECT_THROW(forms::Form{orphan}, std::logic_error);
    forms::Form form(bar());
    EXPECT_THROW(form["missing"], std::out_of_range);
}

TEST(BandFormDescription, ToolButtonsKeepTheirHintsAndDropDownsTheirMenus) {
    forms::Form form(forms::bandFormDescription());
    EXPECT_EQ(form.desc().width, 1016);
    EXPECT_EQ(form.desc().height, 197);
    for (const auto& c : form.controls()) {
        if (c->kind() == Kind::DropDownButton) {
            ASSERT_NE(form.find(c->desc().menu), nullptr) << c->name();
            EXPECT_FALSE(form.children(c->desc().menu).empty()) << c->name();
        }
        if (c->kind() == Kind::Button || c->kind() == Kind::CheckButton ||
            c->kind() == Kind::DropDownButton) {
            EXPECT_TRUE(!c->desc().picture.empty() || c->desc().showCaption ||
                        c->desc().parent.empty())
                << c->name();
        }
    }
    EXPECT_EQ(form["btnNew"].hint(),
              "New document\r\n(local document if not connected or remote document if connected)");
    EXPECT_EQ(form["cmbFontSize"].items().front(), "1");
    EXPECT_EQ(form["cmbFontSize"].items()[7], "+1");
    EXPECT_EQ(form["cmbFontSize"].items().back(), "-7");
    EXPECT_EQ(form["cmbFontSize"].desc().dropDownCount, 7);
    EXPECT_EQ(form["cmbFontName"].items()[3], "Georgia, Times New Roman, Times, serif");
    EXPECT_EQ(form["StatusBar1"].desc().widths, (std::vector<int>{300, 50}));
    EXPECT_TRUE(form["PageControl1"].desc().tabsOnLeft);
}

TEST(SystemColors, TheInstalledSourceAnswersFirstAndTheClassicSchemeFillsIn) {
    EXPECT_EQ(forms::systemColor(forms::COLOR_BTNFACE), 0xF0F0F0);
    EXPECT_EQ(forms::systemColor(99), 0);
    forms::setSystemColorSource([](int index) -> std::optional<forms::ColorValue> {
        if (index == forms::COLOR_BTNFACE)
            return 0x123456;
        return std::nullopt;
    });
    EXPECT_EQ(forms::systemColor(forms::COLOR_BTNFACE), 0x123456);
    EXPECT_EQ(forms::systemColor(forms::COLOR_WINDOW), 0xFFFFFF);
    forms::setSystemColorSource(nullptr);
}

TEST(ControlModel, AFieldsExitAndEnterRunItsHandlersButNotFromInsideThem) {
    forms::FormDesc d = forms::namedForm("Test");
    d.controls = {make("field", Kind::Edit)};
    forms::Form form(d);
    forms::Control& field = form["field"];
    int exits = 0;
    std::vector<int> keys;
    // A box shown by the handler takes the focus away from the field.
    field.onExit = [&] {
        ++exits;
        field.leave();
    };
    field.onKeyDown = [&](int key) {
        keys.push_back(key);
        field.leave();
    };
    field.leave();
    field.pressKey(13);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(keys, std::vector<int>{13});
    field.setEnabled(false);
    field.leave();
    field.pressKey(13);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(keys.size(), 1u);
}

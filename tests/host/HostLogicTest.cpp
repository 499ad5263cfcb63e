#include "host/Address.h"
#include "host/BarCatalog.h"
#include "host/CommandLine.h"
#include "platform/registry/Registry.h"
#include "support/TempHome.h"

#include <fstream>
#include <gtest/gtest.h>

using host::CommandLine;

TEST(CommandLine, AcceptsOneActionOrOneAddress) {
    struct Case {
        std::vector<std::string> args;
        bool valid;
        CommandLine::Action action;
        std::string module;
        std::string address;
    };
    const Case cases[] = {
        {{}, true, CommandLine::Action::Browse, "", ""},
        {{"http://example.org/"}, true, CommandLine::Action::Browse, "", "http://example.org/"},
        {{"--register", "a.so"}, true, CommandLine::Action::Register, "a.so", ""},
        {{"--unregister", "a.so"}, true, CommandLine::Action::Unregister, "a.so", ""},
        {{"--list-bars"}, true, CommandLine::Action::ListBars, "", ""},
        {{"--register"}, false, {}, "", ""},
        {{"--list-bars", "--register", "a.so"}, false, {}, "", ""},
        {{"--list-bars", "page.htm"}, false, {}, "", ""},
        {{"a.htm", "b.htm"}, false, {}, "", ""},
        {{"--frobnicate"}, false, {}, "", ""},
    };
    for (const Case& c : cases) {
        std::string error;
        auto line = host::parseCommandLine(c.args, error);
        ASSERT_EQ(line.has_value(), c.valid) << ::testing::PrintToString(c.args);
        if (!line) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(line->action, c.action);
        EXPECT_EQ(line->module, c.module);
        EXPECT_EQ(line->address, c.address);
    }
}

TEST(Address, TypedTextBecomesAnAddress) {
    TempHome home;
    std::string existing = (home.path() / "my page.htm").string();
    { std::ofstream(existing) << "<p>x</p>"; }
    struct Case {
        std::string typed;
        std::string address;
    };
    const Case cases[] = {
        {"http://example.org/a", "http://example.org/a"},
        {"  about:blank ", "about:blank"},
        {"example.org", "http://example.org"},
        {"/tmp/none/x.htm", "file:///tmp/none/x.htm"},
        {existing, "file://" + home.path().string() + "/my%20page.htm"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(host::addressFromInput(c.typed), c.address) << c.typed;
}

TEST(BarCatalog, AccessKeyBecomesAMnemonic) {
    EXPECT_EQ(host::mnemonicLabel("&Tavrisk"), "_Tavrisk");
    EXPECT_EQ(host::mnemonicLabel("Fish && &Chips"), "Fish & _Chips");
    EXPECT_EQ(host::mnemonicLabel("snake_case"), "snake__case");
}

TEST(BarCatalog, ListsOnlyHorizontalBarsWithAModule) {
    TempHome home;
    registry::Registry::resetUser();
    auto& reg = registry::Registry::user();
    using registry::Root;
    const std::string bar = "CLSID\\{11111111-2222-3333-4444-555555555555}";
    const std::string category = "\\Implemented Categories\\{00021494-0000-0000-C000-000000000046}";
    reg.setValue(Root::ClassesRoot, bar, "", "&Mine");
    reg.setValue(Root::ClassesRoot, bar + "\\InprocServer32", "", "/opt/mine.so");
    reg.createKey(Root::ClassesRoot, bar + category);
    // A vertical bar, a bar without a module, and a key that is no class.
    const std::string vertical = "CLSID\\{22222222-2222-3333-4444-555555555555}";
    reg.setValue(Root::ClassesRoot, vertical + "\\InprocServer32", "", "/opt/v.so");
    reg.createKey(Root::ClassesRoot,
                  vertical + "\\Implemented Categories\\{00021493-0000-0000-C000-000000000046}");
    reg.createKey(Root::ClassesRoot, "CLSID\\{33333333-2222-3333-4444-555555555555}" + category);
    reg.createKey(Root::ClassesRoot, "CLSID\\not-a-guid" + category);

    auto bars = host::registeredBars();
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(com::guidToString(bars[0].clsid), "{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(bars[0].caption, "&Mine");
    EXPECT_EQ(bars[0].modulePath, "/opt/mine.so");
    registry::Registry::resetUser();
}

#include "host/Address.h"
#include "host/BarCatalog.h"
#include "host/CommandLine.h"
#include "host/SamplePage.h"
#include "platform/places/Places.h"
#include "platform/registry/Registry.h"
#include "support/Files.h"
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

// Runs in a fresh folder, so that relative names are known to be missing
// unless the test makes them.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

TEST(Address, AnArgumentThatLooksLikeAFileOpensAsOne) {
    TempHome home;
    InFolder here(home.path());
    { std::ofstream("here.htm") << "<p>x</p>"; }
    { std::ofstream("notes") << "x"; }
    const std::string folder = "file://" + home.path().string();
    const char* savedHome = std::getenv("HOME");
    const std::string userHome = savedHome ? savedHome : "";
    setenv("HOME", home.path().c_str(), 1);
    struct Case {
        std::string argument;
        std::string address; // empty: refused as a missing file
    };
    const Case cases[] = {
        {"here.htm", folder + "/here.htm"},
        {"notes", folder + "/notes"}, // an existing file, whatever its name
        {"./here.htm", folder + "/here.htm"},
        {"~/here.htm", folder + "/here.htm"},
        {"http://example.org/a.htm", "http://example.org/a.htm"},
        {"example.org", "http://example.org"},
        {"missing-page.htm", ""},
        {"MISSING.HTML", ""},
        {"sub/page", ""},
        {"./missing", ""},
        {"~/missing.htm", ""},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(host::addressFromArgument(c.argument, error), c.address) << c.argument;
        EXPECT_EQ(error.empty(), !c.address.empty()) << c.argument << ": " << error;
    }
    std::string error;
    host::addressFromArgument("missing-page.htm", error);
    EXPECT_EQ(error,
              "cannot open " + home.path().string() + "/missing-page.htm: there is no such file");
    if (savedHome)
        setenv("HOME", userHome.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST(SamplePage, OpensAsACopyAndTheShippedPageIsNeverTouched) {
    TempHome home;
    const auto shipped = home.path() / "share" / "start.htm";
    std::filesystem::create_directories(shipped.parent_path());
    { std::ofstream(shipped) << "<p>shipped</p>"; }
    std::filesystem::permissions(shipped, std::filesystem::perms::owner_read);
    const auto data = home.path() / "data";

    auto copy = host::samplePageCopy(shipped, data);
    EXPECT_EQ(copy, data / "start.htm");
    EXPECT_EQ(testfiles::readFile(copy), "<p>shipped</p>");
    // The copy is the person's to change, and stays changed.
    { std::ofstream(copy) << "<p>edited</p>"; }
    EXPECT_EQ(host::samplePageCopy(shipped, data), copy);
    EXPECT_EQ(testfiles::readFile(copy), "<p>edited</p>");
    EXPECT_EQ(testfiles::readFile(shipped), "<p>shipped</p>");

    EXPECT_THROW(host::samplePageCopy(home.path() / "gone.htm", data), std::runtime_error);
}

TEST(SamplePage, TheProgramsOwnPageIsCopiedIntoTheDataFolder) {
    TempHome home;
    const auto shipped = places::shareFolder() / "start.htm";
    ASSERT_TRUE(std::filesystem::exists(shipped));
    auto copy = host::samplePageCopy(shipped, places::dataFolder());
    EXPECT_EQ(copy.parent_path(), home.path() / "data");
    EXPECT_EQ(testfiles::readFile(copy), testfiles::readFile(shipped));
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

#include "platform/registry/Registry.h"
#include "support/TempHome.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "support/Files.h"
using testfiles::readFile;

using registry::Registry;
using registry::RegistryError;
using registry::Root;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    TempHome home;
    std::filesystem::path file = home.path() / "registry.reg";
};

} // namespace

TEST_F(RegistryTest, ValuesPersistAndReadBackInANewInstance) {
    {
        Registry reg(file);
        reg.setValue(Root::ClassesRoot, "CLSID\\{X}", "", "&Tavrisk");
        reg.setValue(Root::ClassesRoot, "CLSID\\{X}\\InProcServer32", "ThreadingModel",
                     "Apartment");
        reg.setValue(Root::CurrentUser, "Software\\Odd", "q", "a \"quoted\" \\ text\r\nnext");
        reg.createKey(Root::ClassesRoot, "CLSID\\{X}\\Implemented Categories\\{C}");
    }
    Registry again(file);
    EXPECT_EQ(again.value(Root::ClassesRoot, "clsid\\{x}", ""), "&Tavrisk");
    EXPECT_EQ(again.value(Root::ClassesRoot, "CLSID\\{X}\\INPROCSERVER32", "threadingmodel"),
              "Apartment");
    EXPECT_EQ(again.value(Root::CurrentUser, "Software\\Odd", "Q"), "a \"quoted\" \\ text\r\nnext");
    EXPECT_TRUE(again.keyExists(Root::ClassesRoot, "CLSID\\{X}\\Implemented Categories\\{C}"));
    EXPECT_FALSE(again.keyExists(Root::LocalMachine, "CLSID\\{X}"));
    EXPECT_NE(readFile(file).find("[HKEY_CLASSES_ROOT\\CLSID\\{X}]\n@=\"&Tavrisk\""),
              std::string::npos);
}

TEST_F(RegistryTest, DeleteKeyRefusesKeysWithSubkeysButTreeDeleteTakesThem) {
    Registry reg(file);
    reg.createKey(Root::ClassesRoot, "A\\B\\C");
    EXPECT_FALSE(reg.deleteKey(Root::ClassesRoot, "A\\B"));
    EXPECT_TRUE(reg.keyExists(Root::ClassesRoot, "A\\B\\C"));
    EXPECT_TRUE(reg.deleteKey(Root::ClassesRoot, "A\\B\\C"));
    EXPECT_TRUE(reg.deleteKey(Root::ClassesRoot, "A\\B"));
    reg.createKey(Root::ClassesRoot, "A\\B\\C");
    EXPECT_TRUE(reg.deleteKeyTree(Root::ClassesRoot, "a\\b"));
    EXPECT_FALSE(reg.keyExists(Root::ClassesRoot, "A\\B"));
    EXPECT_FALSE(reg.deleteKeyTree(Root::ClassesRoot, "A\\B"));
}

TEST_F(RegistryTest, SameChangesGiveTheSameFile) {
    Registry reg(file);
    reg.setValue(Root::ClassesRoot, "K", "", "v");
    std::string once = readFile(file);
    reg.setValue(Root::ClassesRoot, "K", "", "v");
    reg.createKey(Root::ClassesRoot, "K");
    EXPECT_EQ(readFile(file), once);
}

TEST_F(RegistryTest, DamagedFileIsNamedAndNeverRewritten) {
    for (const char* damaged :
         {"[HKEY_CLASSES_ROOT\\K\n@=\"v\"\n", "@=\"no key\"\n", "[HKEY_NOWHERE\\K]\n",
          "[HKEY_CLASSES_ROOT\\K]\n@=\"open\n", "[HKEY_CLASSES_ROOT\\K]\nname=\"unquoted\"\n"}) {
        { std::ofstream(file, std::ios::binary) << damaged; }
        Registry reg(file);
        try {
            reg.setValue(Root::ClassesRoot, "K", "", "new");
            FAIL() << "no error for " << damaged;
        } catch (const RegistryError& error) {
            EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos);
        }
        EXPECT_THROW(reg.keyExists(Root::ClassesRoot, "K"), RegistryError);
        EXPECT_EQ(readFile(file), damaged);
    }
}

TEST_F(RegistryTest, HandWrittenFileWithCrLfAndCommentsIsRead) {
    {
        std::ofstream(file, std::ios::binary) << "; mine\r\n[HKEY_CURRENT_USER\\Software\\T]\r\n"
                                                 "\"Name\"=\"value\"\r\n\r\n";
    }
    Registry reg(file);
    EXPECT_EQ(reg.value(Root::CurrentUser, "Software\\T", "name"), "value");
    EXPECT_EQ(reg.subkeys(Root::CurrentUser, "Software"), std::vector<std::string>{"T"});
}

TEST_F(RegistryTest, ValuesUnderABareRootKeySurviveTheNextSave) {
    { std::ofstream(file, std::ios::binary) << "[HKEY_CURRENT_USER]\n@=\"x\"\n\"n\"=\"y\"\n"; }
    {
        Registry reg(file);
        reg.setValue(Root::CurrentUser, "Software\\T", "", "z");
    }
    Registry again(file);
    EXPECT_EQ(again.value(Root::CurrentUser, "", ""), "x");
    EXPECT_EQ(again.value(Root::CurrentUser, "", "n"), "y");
    EXPECT_EQ(again.value(Root::CurrentUser, "Software\\T", ""), "z");
}

// Each key line names its whole path, so a chain of keys costs the square
// of its depth in text: a file nested beyond any real use is damaged.
TEST_F(RegistryTest, AnAbsurdlyDeepFileIsRefusedByNameAndLeftAsItWas) {
    auto chain = [](size_t depth) {
        std::string line = "[HKEY_CURRENT_USER";
        for (size_t i = 0; i < depth; ++i)
            line += "\\k";
        return line + "]\n@=\"deep\"\n";
    };
    const std::string deep = chain(250000);
    { std::ofstream(file, std::ios::binary) << deep; }
    {
        Registry reg(file);
        try {
            reg.setValue(Root::CurrentUser, "Software", "", "new");
            FAIL() << "a 250000 deep file was accepted";
        } catch (const RegistryError& error) {
            EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos);
            EXPECT_NE(std::string(error.what()).find("deeper than 512"), std::string::npos);
        }
    }
    EXPECT_EQ(readFile(file), deep);

    // The deepest nesting allowed reads, writes and reads back.
    std::string path(2 * 512, 'k');
    for (size_t i = 1; i < path.size(); i += 2)
        path[i] = '\\';
    { std::ofstream(file, std::ios::binary) << chain(512); }
    {
        Registry reg(file);
        EXPECT_EQ(reg.value(Root::CurrentUser, path, ""), "deep");
        reg.setValue(Root::CurrentUser, path, "more", "1");
        EXPECT_THROW(reg.setValue(Root::CurrentUser, path + "\\k", "", "x"), RegistryError);
    }
    Registry again(file);
    EXPECT_EQ(again.value(Root::CurrentUser, path, "more"), "1");
}

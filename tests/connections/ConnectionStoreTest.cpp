#include "connections/ConnectionStore.h"

#include "platform/places/Places.h"
#include "support/ScriptedDialogs.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include "support/Files.h"
using testfiles::readFile;
using testfiles::writeFile;

using connections::ConnectionLists;
using connections::ConnectionStore;
using connections::SiteConnection;

namespace {

std::filesystem::path testData(const std::string& name) {
    return std::filesystem::path(std::getenv("TAVRISK_TEST_DATA")) / name;
}

const SiteConnection kFirst{"http://www.site1.com", "ftp.site1.com", "user1", "pass1", "www"};
const SiteConnection kSecond{"http://site2.org/shop/", "192.168.0.2", "u2", "p=2;x", ""};

class ConnectionStoreTest : public ::testing::Test {
protected:
    void SetUp() override { places::configFolder(); }

    std::filesystem::path iniFile() const { return home.path() / "config" / "tavrisk.ini"; }

    // A store as the wizard has it after its form was created.
    std::unique_ptr<ConnectionStore> restoredStore() {
        auto store = std::make_unique<ConnectionStore>();
        store->afterFormCreate();
        return store;
    }

    ConnectionLists restoredLists() { return restoredStore()->lists(); }

    TempHome home;
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped{dialogs};
};

} // namespace

TEST_F(ConnectionStoreTest, SavedConnectionsHaveTheLayoutOfTheFile) {
    auto store = restoredStore();
    EXPECT_EQ(store->storage().filePath(), iniFile());
    store->lists().add(kFirst);
    store->lists().add(kSecond);
    store->save();

    EXPECT_EQ(readFile(iniFile()), readFile(testData("two-connections.ini")));
    EXPECT_EQ(std::filesystem::status(iniFile()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ConnectionLists back = restoredLists();
    EXPECT_EQ(back, store->lists());
    EXPECT_TRUE(back.ports.empty());
}

TEST_F(ConnectionStoreTest, ASaveThroughASymbolicLinkKeepsTheLink) {
    std::filesystem::path kept = home.path() / "dotfiles" / "tavrisk.ini";
    std::filesystem::create_directories(kept.parent_path());
    writeFile(kept, "");
    std::filesystem::create_symlink(kept, iniFile());

    auto store = restoredStore();
    store->lists().add(kFirst);
    store->save();
    EXPECT_TRUE(std::filesystem::is_symlink(iniFile()));
    EXPECT_NE(readFile(kept).find("Item0=ftp.site1.com"), std::string::npos);
}

TEST_F(ConnectionStoreTest, EveryEntryReadsBackAsItWasWritten) {
    const std::string entries[] = {
        " blanks at both ends ",
        "\ttab",
        "\"quoted\"",
        "'single'",
        "\"",
        "'",
        "\"\"",
        "\"half",
        "a=b;c",
        "; not a comment",
        "[Tavrisk.siteweb.Strings]",
        "",
        "   ",
        "caf\xE9",
    };
    auto store = restoredStore();
    for (const std::string& entry : entries)
        store->lists().add({"http://" + entry, entry, entry, entry, entry});
    store->save();
    EXPECT_EQ(restoredLists(), store->lists());
}

TEST_F(ConnectionStoreTest, LineBreaksInAnEntryCannotAddKeysOrSections) {
    auto store = restoredStore();
    store->lists().add({"http://a", "ftp.a", "me", "pw\r\n[Evil]\r\nCount=9\nItem5=x", ""});
    store->save();

    std::string text = readFile(iniFile());
    EXPECT_EQ(text.find("\r\n[Evil]"), std::string::npos);
    EXPECT_EQ(text.find("\nCount=9"), std::string::npos);
    ConnectionLists back = restoredLists();
    ASSERT_EQ(back.count(), 1u);
    EXPECT_EQ(back.ftppassword[0], "pw  [Evil]  Count=9 Item5=x");
}

TEST_F(ConnectionStoreTest, RestoreLeavesAListWithoutAPositiveCountUnchanged) {
    const std::string counts[] = {
        "", "Count=0\r\n", "Count=abc\r\n", "Count=-3\r\n", "Count=2x\r\n", "Count=\r\n"};
    for (const std::string& count : counts) {
        writeFile(iniFile(), "[Tavrisk.siteweb.Strings]\r\n" + count + "Item0=from the file\r\n");
        ConnectionStore store;
        store.lists().add(kFirst);
        store.restore();
        EXPECT_EQ(store.lists().at(0), kFirst) << count;
        EXPECT_EQ(store.lists().count(), 1u) << count;
    }
}

TEST_F(ConnectionStoreTest, RestoreReadsMissingItemsAsEmptyAndCutsLongEntries) {
    std::string long3000(3000, 'x');
    writeFile(iniFile(), "[Tavrisk.ftppassword.Strings]\r\nCount= 3 \r\nItem0=" + long3000 +
                             "\r\nItem2=last\r\n");
    ConnectionLists back = restoredLists();
    ASSERT_EQ(back.ftppassword.size(), 3u);
    EXPECT_EQ(back.ftppassword[0], std::string(2047, 'x'));
    EXPECT_EQ(back.ftppassword[1], "");
    EXPECT_EQ(back.ftppassword[2], "last");
    // The other lists are padded so that every connection index is valid.
    EXPECT_EQ(back.count(), 3u);
    EXPECT_EQ(back.ftpserver.size(), 3u);
}

TEST_F(ConnectionStoreTest, AHugeCountIsBounded) {
    for (std::string count : {"99999999999999999999999", "4000000000"}) {
        writeFile(iniFile(), "[Tavrisk.siteweb.Strings]\r\nCount=" + count + "\r\nItem0=a\r\n");
        ConnectionLists back = restoredLists();
        EXPECT_EQ(back.siteweb.size(), ConnectionStore::kMaxEntries) << count;
        EXPECT_EQ(back.siteweb[0], "a");
    }
}

TEST_F(ConnectionStoreTest, AHandEditedFileIsReadAsTheProfileFunctionsRead) {
    std::filesystem::copy_file(testData("hand-edited.ini"), iniFile());
    auto store = restoredStore();
    const ConnectionLists& back = store->lists();
    EXPECT_EQ(back.siteweb, (std::vector<std::string>{"http://a.com", "  quoted  ", "single"}));
    EXPECT_EQ(back.ftpserver, (std::vector<std::string>{"ftp.a.com", "", "x=y;z"}));
    EXPECT_EQ(back.ftplogin, (std::vector<std::string>{"", "", ""}));

    // A save rewrites the connection sections and keeps what else the file holds.
    store->lists().remove(1);
    store->save();
    std::string text = readFile(iniFile());
    EXPECT_NE(text.find("[Other]\r\nkept=yes\r\n"), std::string::npos);
    EXPECT_EQ(text.find("SITEWEB"), std::string::npos);
    EXPECT_EQ(restoredLists(), store->lists());
}

TEST_F(ConnectionStoreTest, DeletingTheLastConnectionLeavesNoConnectionSections) {
    auto store = restoredStore();
    store->lists().add(kFirst);
    store->save();
    store->lists().remove(0);
    store->save();
    EXPECT_EQ(readFile(iniFile()).find("[Tavrisk."), std::string::npos);
    EXPECT_EQ(restoredLists().count(), 0u);
}

TEST_F(ConnectionStoreTest, ASaveBeforeAnyRestoreWritesNothing) {
    ConnectionStore store;
    store.lists().add(kFirst);
    store.save();
    EXPECT_FALSE(std::filesystem::exists(iniFile()));

    writeFile(iniFile(), "[Tavrisk.siteweb.Strings]\r\nCount=1\r\nItem0=kept\r\n");
    store.save();
    EXPECT_EQ(restoredLists().siteweb, std::vector<std::string>{"kept"});
}

TEST_F(ConnectionStoreTest, FormHooksRestoreAndSave) {
    auto store = restoredStore();
    EXPECT_TRUE(store->restoredOnce());
    store->lists().add(kFirst);

    store->afterFormCloseQuery(false); // closing refused: nothing saved
    EXPECT_FALSE(std::filesystem::exists(iniFile()));
    store->afterFormCloseQuery(true);
    EXPECT_TRUE(store->savedSinceRestore());
    EXPECT_EQ(restoredLists().count(), 1u);

    // Saved since the last restore: destroying writes nothing more.
    store->lists().add(kSecond);
    store->beforeFormDestroy();
    EXPECT_EQ(restoredLists().count(), 1u);
    store->restore();
    store->lists().add(kSecond);
    store->beforeFormDestroy();
    EXPECT_EQ(restoredLists().count(), 2u);
}

TEST_F(ConnectionStoreTest, AFailedSaveIsReportedAndLeavesTheOldFile) {
    auto store = restoredStore();
    store->lists().add(kFirst);
    store->save();
    std::string before = readFile(iniFile());

    for (int i = 0; i < 50; ++i)
        store->lists().add(kSecond);
    // A file size limit makes the write fail whoever runs the test, root too.
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 64;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(store->save(), connections::IniWriteError);
    store->afterFormCloseQuery(true);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(readFile(iniFile()), before);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].rfind("Impossible d'écrire dans " + iniFile().string(), 0), 0u);
    // Nothing is left beside the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(iniFile().parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

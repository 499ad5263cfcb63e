#include "platform/places/Places.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(Places, TavriskHomeHoldsEveryWritableFolder) {
    TempHome home;
    for (const fs::path& folder :
         {places::dataFolder(), places::cacheFolder(), places::configFolder()}) {
        EXPECT_EQ(folder.parent_path(), home.path());
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
    }
    EXPECT_NE(places::dataFolder(), places::cacheFolder());
    EXPECT_NE(places::dataFolder(), places::configFolder());
}

TEST(Places, XdgFoldersAreUsedWithoutTavriskHome) {
    TempHome home;
    unsetenv("TAVRISK_HOME");
    setenv("XDG_CONFIG_HOME", (home.path() / "xdgconfig").c_str(), 1);
    EXPECT_EQ(places::configFolder(), home.path() / "xdgconfig" / "tavrisk");
    EXPECT_TRUE(fs::is_directory(home.path() / "xdgconfig" / "tavrisk"));
    unsetenv("XDG_CONFIG_HOME");
}

TEST(Places, TrailingSlashIsAddedOnce) {
    EXPECT_EQ(places::withTrailingSlash("/a/b"), "/a/b/");
    EXPECT_EQ(places::withTrailingSlash("/a/b/"), "/a/b/");
}

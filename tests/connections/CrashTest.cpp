#include "connections/ConnectionStore.h"

#include "platform/places/Places.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using connections::ConnectionLists;
using connections::ConnectionStore;

namespace {

// The connections a saving process holds at its step k: one to five of
// them, every entry naming k, passwords with blanks around them.
ConnectionLists stateFor(long k) {
    ConnectionLists lists;
    for (long i = 0; i <= k % 5; ++i) {
        std::string tag = std::to_string(k) + "-" + std::to_string(i);
        lists.add(
            {"http://site" + tag, "ftp" + tag, "login" + tag, " pw " + tag + " ", "folder" + tag});
    }
    return lists;
}

long stepOf(const ConnectionLists& lists) {
    const std::string& site = lists.siteweb.at(0);
    return std::stol(site.substr(std::string("http://site").size()));
}

[[noreturn]] void saveForever(long firstStep) {
    ConnectionStore store;
    store.restore();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (long k = firstStep; std::chrono::steady_clock::now() < deadline; ++k) {
        store.lists() = stateFor(k);
        store.save();
    }
    _exit(0);
}

} // namespace

TEST(ConnectionStoreCrash, AKilledSaveLeavesTheLastOrThePreviousConnections) {
    TempHome home;
    places::configFolder();
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> pause(1000, 30000); // microseconds
    long lastStep = -1;
    for (long round = 0; round < 25; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            saveForever(round * 1000000);
        usleep(static_cast<useconds_t>(pause(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        ConnectionStore store;
        store.restore();
        if (store.lists().count() == 0) {
            // Killed before its first save ever completed.
            EXPECT_EQ(lastStep, -1) << "round " << round;
            continue;
        }
        long step = stepOf(store.lists());
        EXPECT_EQ(store.lists(), stateFor(step)) << "round " << round;
        EXPECT_GE(step, lastStep) << "round " << round;
        lastStep = step;
    }
    EXPECT_GE(lastStep, 0) << "no save completed in any round";
}

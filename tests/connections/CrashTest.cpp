#include "connections/ConnectionStore.h"

#include "platform/places/Places.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <poll.h>
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

// Saves step after step for at most five seconds, reporting "b<step>"
// before a save begins and "e<step>" once it has returned.
[[noreturn]] void saveForever(long firstStep, int report) {
    ConnectionStore store;
    store.restore();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (long k = firstStep; std::chrono::steady_clock::now() < deadline; ++k) {
        store.lists() = stateFor(k);
        std::string begun = "b" + std::to_string(k) + "\n";
        if (write(report, begun.data(), begun.size()) < 0)
            break;
        store.save();
        std::string ended = "e" + std::to_string(k) + "\n";
        if (write(report, ended.data(), ended.size()) < 0)
            break;
    }
    _exit(0);
}

// What a saving child said before it was killed.
struct SaveReports {
    std::string text;
    int begun = 0;
    long lastBegun = -1;
    long lastCompleted = -1;

    void add(const char* bytes, size_t size) {
        text.append(bytes, size);
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            long step = std::stol(text.substr(start + 1, end - start - 1));
            if (text[start] == 'b') {
                ++begun;
                lastBegun = step;
            } else {
                lastCompleted = step;
            }
        }
        text.erase(0, start);
    }
    // Reads until the child has begun `saves` saves or ended; false when it
    // said nothing for the whole timeout.
    bool readUntilBegun(int fd, int saves, int timeoutMs) {
        char buffer[4096];
        while (begun < saves) {
            pollfd ready{fd, POLLIN, 0};
            if (poll(&ready, 1, timeoutMs) <= 0)
                return false;
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return begun >= saves;
            add(buffer, static_cast<size_t>(n));
        }
        return true;
    }
    void readToEnd(int fd) {
        char buffer[4096];
        for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
            add(buffer, static_cast<size_t>(n));
    }
};

} // namespace

// A save is killed at random moments, each measured from the child's own
// report that a save began, so that a slow or loaded machine moves the kill
// along with the save instead of missing it. After every kill the stored
// connections are exactly those of the last save that returned or of the one
// under way, never a mixture, never older.
TEST(ConnectionStoreCrash, AKilledSaveLeavesTheLastOrThePreviousConnections) {
    TempHome home;
    places::configFolder();
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> savesBeforeKill(1, 4);
    std::uniform_int_distribution<int> delay(0, 3000); // microseconds into the save
    long lastStep = -1;
    int killedDuringASave = 0;
    for (long round = 0; round < 25; ++round) {
        int report[2];
        ASSERT_EQ(pipe(report), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(report[0]);
            saveForever(round * 1000000, report[1]);
        }
        close(report[1]);
        SaveReports reports;
        bool began = reports.readUntilBegun(report[0], savesBeforeKill(random), 30000);
        usleep(static_cast<useconds_t>(delay(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        reports.readToEnd(report[0]);
        close(report[0]);
        ASSERT_TRUE(began) << "round " << round << ": the child reported no save in 30 s";
        if (reports.lastBegun > reports.lastCompleted)
            ++killedDuringASave;

        ConnectionStore store;
        store.restore();
        if (store.lists().count() == 0) {
            // Killed before its first save ever completed.
            EXPECT_EQ(lastStep, -1) << "round " << round;
            EXPECT_EQ(reports.lastCompleted, -1) << "round " << round;
            continue;
        }
        long step = stepOf(store.lists());
        EXPECT_EQ(store.lists(), stateFor(step)) << "round " << round;
        EXPECT_GE(step, reports.lastCompleted) << "round " << round;
        EXPECT_LE(step, reports.lastBegun) << "round " << round;
        EXPECT_GE(step, lastStep) << "round " << round;
        lastStep = step;
    }
    EXPECT_GE(lastStep, 0) << "no save completed in any round";
    EXPECT_GT(killedDuringASave, 0) << "no kill landed inside a save";
}

// The FTP server as a person types it: a name or address, and a port after
// ":" for a server off port 21; the name is looked up without stopping the
// window, and the user can call the attempt off.

#include "Loopback.h"
#include "ScriptedFtpServer.h"

#include "platform/net/Connect.h"
#include "platform/net/HostPort.h"
#include "platform/net/Socket.h"
#include "publishing/ftp/FtpClient.h"
#include "support/MainLoopTimer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace std::chrono_literals;

TEST(FtpServerAddress, APortAfterAColonIsTakenAndWithoutOneTheUsualOne) {
    struct Case {
        const char* typed;
        const char* host;
        uint16_t port;
    };
    const Case cases[] = {
        {"ftp.example.org", "ftp.example.org", 21},
        {"ftp.example.org:2121", "ftp.example.org", 2121},
        {" 127.0.0.1 : 8021 ", "127.0.0.1", 8021},
        {"host:65535", "host", 65535},
        // More than one ":" is no port: the text is a host as it stands.
        {"::1", "::1", 21},
    };
    for (const Case& c : cases) {
        net::HostAndPort parsed = net::splitHostPort(c.typed, 21);
        EXPECT_EQ(parsed.host, c.host) << c.typed;
        EXPECT_EQ(parsed.port, c.port) << c.typed;
    }
    for (const char* bad : {"host:", "host:0", "host:65536", "host:21a", "host:-1"})
        EXPECT_THROW(net::splitHostPort(bad, 21), net::SocketError) << bad;
}

TEST(FtpServerAddress, ANameWithAPortReachesTheServerOnThatPort) {
    ScriptedFtpServer server;
    server.play(greetingAndLogin());
    ftp::FtpClient client; // port 21 unless the server says otherwise
    std::vector<std::string> statuses;
    client.OnStatus = [&](ftp::FtpStatus, const std::string& text) { statuses.push_back(text); };
    client.Host = "localhost:" + std::to_string(server.port());
    client.Username = "bob";
    client.Password = "secret";
    client.Connect();
    EXPECT_TRUE(client.Connected());
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(statuses[0], "Resolving hostname localhost.");
    EXPECT_EQ(statuses[1], "Connecting to 127.0.0.1.");
    client.Disconnect();
    EXPECT_EQ(server.finish(), kLoginCommands);
}

TEST(FtpServerAddress, DisconnectingWhileTheConnectionIsAttemptedCallsItOff) {
    // A listener whose queue is full leaves further attempts unanswered.
    uint16_t port = 0;
    int full = loopback::listen(0, port);
    sockaddr_in sa = loopback::address(port);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        int f = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(f, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        fillers.push_back(f);
    }
    ftp::FtpSettings settings;
    settings.connectTimeout = 20s;
    ftp::FtpClient client(settings);
    client.Host = "127.0.0.1:" + std::to_string(port);
    int disconnectedEvents = 0;
    client.OnDisconnected = [&] { ++disconnectedEvents; };
    MainLoopTimer closed{[&] { client.Disconnect(); }};
    closed.scheduleIn(200);
    auto started = std::chrono::steady_clock::now();
    std::string failure = "no error";
    try {
        client.Connect();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    // Should the kernel have taken the attempt after all, the wait for the
    // greeting is what the disconnection ends.
    EXPECT_TRUE(failure == "Connection attempt cancelled." || failure == "Disconnected.")
        << failure;
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(disconnectedEvents, failure == "Disconnected." ? 1 : 0);
    for (int f : fillers)
        ::close(f);
    ::close(full);
}

TEST(FtpServerAddress, ALookupEndsWhenCalledOffAndAnUnknownNameFailsWithTheResolversMessage) {
    auto later = net::Clock::now() + 10s;
    EXPECT_THROW(net::lookUpIpv4("localhost", later, [] { return true; }), net::ConnectStopped);
    EXPECT_EQ(net::lookUpIpv4("localhost", later), 0x7F000001u);
    try {
        net::lookUpIpv4("no-such-host.invalid", later);
        ADD_FAILURE() << "an unknown name was found";
    } catch (const net::ConnectTimeout&) {
        ADD_FAILURE() << "an unknown name ran into the time-out";
    } catch (const net::SocketError& e) {
        EXPECT_STRNE(e.what(), "");
    }
}

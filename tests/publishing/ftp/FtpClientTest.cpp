#include "Loopback.h"
#include "ScriptedFtpServer.h"

#include "publishing/ftp/FtpClient.h"
#include "publishing/ftp/FtpError.h"
#include "support/TempHome.h"

#include <arpa/inet.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <regex>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "support/Files.h"
using testfiles::readFile;
using testfiles::writeFile;

using namespace std::chrono_literals;
using ftp::FtpClient;
using ftp::FtpError;
using Steps = std::vector<ScriptedFtpServer::Step>;

namespace {

// The text of the error of type E that the call throws, or "no error".
template <typename E = FtpError, typename Call> std::string errorOf(Call&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}

// PORT accepted, the command opened, the data sent, then the final reply.
Steps transferSending(const std::string& data, const std::string& final = "226 Done\r\n") {
    return {hear(),        say("200 PORT command successful\r\n"),
            hear(),        say("150 Here it comes\r\n"),
            connectData(), sendData(data),
            closeData(),   say(final)};
}

// The same for a store: the server takes the data.
Steps transferReceiving(const std::string& final = "226 Done\r\n") {
    return {hear(),        say("200 PORT command successful\r\n"),
            hear(),        say("150 Send it\r\n"),
            connectData(), receiveData(),
            closeData(),   say(final)};
}

// Replaces each PORT argument by "*", which differs from run to run.
std::string maskPorts(std::string sent) {
    static const std::regex port("PORT 127,0,0,1,[0-9]+,[0-9]+");
    return std::regex_replace(sent, port, "PORT *");
}

// Records what the client reports.
struct Events {
    std::vector<std::string> statuses;
    int disconnected = 0;
    int64_t workBegin = -1;
    std::vector<int64_t> work;
    int workEnd = 0;

    void attach(FtpClient& client) {
        client.OnStatus = [this](ftp::FtpStatus, const std::string& text) {
            statuses.push_back(text);
        };
        client.OnDisconnected = [this] { ++disconnected; };
        client.OnWorkBegin = [this](int64_t expected) { workBegin = expected; };
        client.OnWork = [this](int64_t done) { work.push_back(done); };
        client.OnWorkEnd = [this] { ++workEnd; };
    }
    bool reported(const std::string& text) const {
        return std::find(statuses.begin(), statuses.end(), text) != statuses.end();
    }
};

} // namespace

// Short, so that a server that never answers fails a test quickly; a
// script pauses for kSlow to be merely slow, for kSilent to be too slow.
constexpr auto kReplyTimeout = 1500ms;
constexpr int kSlow = 600;
constexpr int kSilent = 2500;

class FtpClientTest : public ::testing::Test {
protected:
    void SetUp() override { makeClient({}); }

    void makeClient(std::function<void(ftp::FtpSettings&)> adjust) {
        ftp::FtpSettings settings;
        settings.port = server.port();
        settings.connectTimeout = 5s;
        settings.secondReplyWait = 200ms;
        settings.dataConnectionWait = 5s;
        settings.replyTimeout = kReplyTimeout;
        settings.idleTimeout = kReplyTimeout;
        if (adjust)
            adjust(settings);
        client = std::make_unique<FtpClient>(settings);
        client->Host = "127.0.0.1";
        client->Username = "bob";
        client->Password = "secret";
        events.attach(*client);
    }

    // Plays the login followed by `after`, and connects.
    void connectThen(const Steps& after) {
        Steps script = greetingAndLogin();
        append(script, after);
        server.play(script);
        client->Connect();
    }

    // Everything the client sent after the login, once it has hung up.
    std::string sentAfterLogin() {
        client->Disconnect();
        std::string sent = server.finish();
        EXPECT_TRUE(server.problems().empty()) << server.problems().front();
        EXPECT_EQ(sent.substr(0, std::string(kLoginCommands).size()), kLoginCommands);
        return sent.substr(std::min(sent.size(), std::string(kLoginCommands).size()));
    }

    TempHome home;
    ScriptedFtpServer server;
    std::unique_ptr<FtpClient> client;
    Events events;
};

TEST_F(FtpClientTest, ConnectLogsInSetsBinaryTypeAndAsksForTheSystem) {
    connectThen({});
    EXPECT_TRUE(client->Connected());
    EXPECT_EQ(client->SystemDescription(), "UNIX Type: L8");
    EXPECT_EQ(events.statuses, (std::vector<std::string>{"Connecting to 127.0.0.1.", "Connected.",
                                                         "Connection established"}));
    // Disconnect closes at once, without QUIT.
    EXPECT_EQ(sentAfterLogin(), "");
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(events.disconnected, 1);
    EXPECT_EQ(std::vector<std::string>(events.statuses.end() - 2, events.statuses.end()),
              (std::vector<std::string>{"Disconnecting.", "Disconnected."}));
}

TEST_F(FtpClientTest, AHostNameIsResolvedFirst) {
    client->Host = "localhost";
    connectThen({});
    EXPECT_EQ(events.statuses.front(), "Resolving hostname localhost.");
    EXPECT_EQ(events.statuses[1], "Connecting to 127.0.0.1.");
}

struct LoginCase {
    const char* name;
    Steps script;
    const char* sent;   // everything the client sent
    const char* error;  // nullptr when the connect succeeds
    const char* system; // when it succeeds
};

class FtpLoginTest : public FtpClientTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(FtpLoginTest, ConnectsOrFailsAsTheServerAnswers) {
    const LoginCase& c = GetParam();
    server.play(c.script);
    if (c.error) {
        try {
            client->Connect();
            ADD_FAILURE() << "connect succeeded";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
        EXPECT_FALSE(client->Connected());
    } else {
        client->Connect();
        EXPECT_TRUE(client->Connected());
        EXPECT_EQ(client->SystemDescription(), c.system);
        client->Disconnect();
    }
    EXPECT_EQ(server.finish(), c.sent);
    EXPECT_TRUE(server.problems().empty());
}

const Steps kAfterUser = {hear(), say("331 Password required\r\n"),
                          hear(), say("230 OK\r\n"),
                          hear(), say("200 OK\r\n"),
                          hear(), say("215 UNIX\r\n")};

Steps greeting(const std::string& text, const Steps& rest = kAfterUser) {
    Steps steps = {say(text)};
    append(steps, rest);
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Variants, FtpLoginTest,
    ::testing::Values(
        LoginCase{"MultiLineGreeting",
                  greeting("220-Welcome\r\n220-to the server\r\n220 Ready\r\n"), kLoginCommands,
                  nullptr, "UNIX"},
        // Only the code and a blank end a multi-line reply: empty, blank and
        // short lines are part of it.
        LoginCase{"EmptyAndBlankLinesInsideTheWelcome",
                  greeting("220-Welcome\r\n\r\n \r\nok\r\n220\r\n220-x\r\n220 Ready\r\n"),
                  kLoginCommands, nullptr, "UNIX"},
        LoginCase{"ServiceReadyLater",
                  greeting("120 Service ready in 1 minutes.\r\n",
                           {pause(kSlow), say("220 Ready\r\n"), hear(),
                            say("331 Password required\r\n"), hear(), say("230 OK\r\n"), hear(),
                            say("200 OK\r\n"), hear(), say("215 UNIX\r\n")}),
                  kLoginCommands, nullptr, "UNIX"},
        LoginCase{
            "SlowReplies",
            greeting("220 Ready\r\n", {hear(), pause(kSlow), say("331 Password\r\n"), hear(),
                                       say("230-Welcome\r\n"), pause(kSlow), say("230 OK\r\n"),
                                       hear(), say("200 OK\r\n"), hear(), say("215 UNIX\r\n")}),
            kLoginCommands, nullptr, "UNIX"},
        LoginCase{"GreetingNeverComes",
                  {pause(kSilent)},
                  "",
                  "The server did not answer in time.",
                  nullptr},
        LoginCase{"MultiLineGreetingNeverEnds",
                  {say("220-Welcome\r\n220-\r\n\r\n"), pause(kSilent)},
                  "",
                  "The server did not answer in time.",
                  nullptr},
        LoginCase{"ALineWithoutCodeKeepsItsText",
                  {say("Too busy, try later\r\n"), hangUp()},
                  "",
                  "Too busy, try later",
                  nullptr},
        LoginCase{"LineFeedsOnly", greeting("220 Ready\n"), kLoginCommands, nullptr, "UNIX"},
        LoginCase{"OneByteAtATime",
                  {sayBytewise("220-Hello\r\n220 Ready\r\n"), hear(),
                   sayBytewise("331 Password\r\n"), hear(), sayBytewise("230 OK\r\n"), hear(),
                   sayBytewise("200 OK\r\n"), hear(), sayBytewise("215 UNIX\r\n")},
                  kLoginCommands,
                  nullptr,
                  "UNIX"},
        LoginCase{
            "UserAnswered230",
            greeting("220 Ready\r\n", {hear(), say("230-Welcome\r\n230 Login successful\r\n"),
                                       hear(), say("200 OK\r\n"), hear(), say("215 UNIX\r\n")}),
            "USER bob\r\nTYPE I\r\nSYST\r\n", nullptr, "UNIX"},
        LoginCase{"SystAnswered500",
                  greeting("220 Ready\r\n",
                           {hear(), say("331 Password\r\n"), hear(), say("230 OK\r\n"), hear(),
                            say("200 OK\r\n"), hear(), say("500 Unknown command\r\n")}),
                  kLoginCommands, nullptr, "Unknown"},
        LoginCase{"SystAnsweredWithoutText",
                  greeting("220 Ready\r\n", {hear(), say("230 OK\r\n"), hear(), say("200 OK\r\n"),
                                             hear(), say("215\r\n")}),
                  "USER bob\r\nTYPE I\r\nSYST\r\n", nullptr, ""},
        LoginCase{"GreetingRefused",
                  {say("421 Too many users\r\n"), hangUp()},
                  "",
                  "Too many users",
                  nullptr},
        LoginCase{"PasswordRefused",
                  greeting("220 Ready\r\n", {hear(), say("331 Password\r\n"), hear(),
                                             say("530-Login incorrect.\r\n530 Bye\r\n")}),
                  "USER bob\r\nPASS secret\r\n", "Login incorrect.\nBye", nullptr},
        LoginCase{"ClosedDuringTheGreeting",
                  {say("220-Wel"), hangUp()},
                  "",
                  "Connection closed by the server.",
                  nullptr}),
    [](const auto& info) { return info.param.name; });

TEST_F(FtpClientTest, AFailedConnectClosesAndReportsTheDisconnection) {
    server.play(greeting("220 Ready\r\n", {hear(), say("530 Not allowed\r\n")}));
    EXPECT_THROW(client->Connect(), ftp::FtpReplyError);
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(events.disconnected, 1);
}

TEST_F(FtpClientTest, WorkingDirectoryIsTheQuotedPartOfTheReply) {
    connectThen({hear(), say("257 \"/www/site\" is the current directory\r\n"), hear(),
                 say("257 no quotes here\r\n"), hear(),
                 say("257-\"/multi\" first\r\n257 \"/not/this\"\r\n")});
    EXPECT_EQ(client->CurrentDirectory(), "/www/site");
    EXPECT_EQ(client->CurrentDirectory(), "");
    EXPECT_EQ(client->CurrentDirectory(), "/multi");
    EXPECT_EQ(sentAfterLogin(), "PWD\r\nPWD\r\nPWD\r\n");
}

TEST_F(FtpClientTest, SizeReadsTheNumberOrAnswersMinusOne) {
    const std::vector<std::pair<std::string, int64_t>> cases = {
        {"550 No such file\r\n", -1},    {"213 1024\r\n", 1024}, {"213  2048 \r\n", 2048},
        {"213 file.htm 4096\r\n", 4096}, {"213 12k\r\n", -1},    {"500 Unknown\r\n", -1},
        {"213-a\r\n213 77\r\n", -1},     {"213 -3\r\n", -1},     {"213 +3\r\n", -1}};
    Steps script;
    for (const auto& [reply, size] : cases)
        append(script, {hear(), say(reply)});
    connectThen(script);
    for (const auto& [reply, size] : cases)
        EXPECT_EQ(client->Size("index.htm"), size) << reply;
    std::string expected;
    for (size_t i = 0; i < cases.size(); ++i)
        expected += "SIZE index.htm\r\n";
    EXPECT_EQ(sentAfterLogin(), expected);
}

TEST_F(FtpClientTest, AnUnacceptedCodeFailsWithTheReplyTextAndKeepsTheSession) {
    connectThen(
        {hear(), say("550-No such directory.\r\n550 Really not.\r\n"), hear(), say("250 OK\r\n")});
    try {
        client->ChangeDirectory("/missing");
        ADD_FAILURE() << "no error";
    } catch (const ftp::FtpReplyError& e) {
        EXPECT_EQ(std::string(e.what()), "No such directory.\nReally not.");
        EXPECT_EQ(e.code(), 550);
    }
    EXPECT_TRUE(client->Connected());
    client->ChangeDirectory("/www");
    EXPECT_EQ(sentAfterLogin(), "CWD /missing\r\nCWD /www\r\n");
}

TEST_F(FtpClientTest, AReplyLineMayHoldUpTo16384Characters) {
    std::string longest(16384 - 4, 'x');
    connectThen({hear(), say("257 " + longest + "\r\n"), hear(), say("257 " + longest + "y\r\n")});
    EXPECT_EQ(client->CurrentDirectory(), "");
    EXPECT_EQ(errorOf([&] { client->CurrentDirectory(); }), "Max line length exceeded.");
    // The rest of that line cannot be told from the next reply: the session
    // is closed rather than read out of step.
    EXPECT_FALSE(client->Connected());
}

TEST_F(FtpClientTest, AReplyThatNeverEndsIsCutOff) {
    std::string line = "257-" + std::string(16000, 'x') + "\r\n";
    Steps flood = {hear()};
    for (int i = 0; i < 80; ++i)
        flood.push_back(say(line));
    connectThen(flood);
    EXPECT_EQ(errorOf([&] { client->CurrentDirectory(); }), "The server's reply is too long.");
    EXPECT_FALSE(client->Connected());
}

TEST_F(FtpClientTest, ListSendsPortWithTheControlAddressAndSplitsTheLines) {
    connectThen(transferSending("a.htm\r\nb.htm\nc.htm\rd.htm\r\n\r\ne.htm"));
    EXPECT_EQ(client->List(),
              (std::vector<std::string>{"a.htm", "b.htm", "c.htm", "d.htm", "", "e.htm"}));
    EXPECT_TRUE(events.reported("Starting FTP transfer"));
    EXPECT_TRUE(events.reported("Transfer complete"));
    EXPECT_FALSE(events.reported("Transfer aborted"));
    EXPECT_EQ(events.workEnd, 1);
    ASSERT_FALSE(events.work.empty());
    EXPECT_EQ(events.work.back(), 33);
    EXPECT_EQ(maskPorts(sentAfterLogin()), "PORT *\r\nLIST\r\n");
}

TEST_F(FtpClientTest, GetWritesTheFileAndAnnouncesItsSize) {
    std::string page = std::string("<html>\r\n<body>caf\xe9\0</body>\r\n</html>\r\n", 35);
    page += std::string(100000, 'z');
    connectThen({hear(), say("200 PORT ok\r\n"), hear(),
                 say("150 Opening BINARY mode data connection for index.htm (" +
                     std::to_string(page.size()) + " bytes)\r\n"),
                 connectData(), sendData(page), closeData(), say("226 Done\r\n")});
    auto local = home.path() / "temp.htm";
    writeFile(local, "an older and longer working copy that the download replaces whole");
    client->Get("index.htm", local.string());
    EXPECT_EQ(readFile(local), page);
    EXPECT_EQ(events.workBegin, static_cast<int64_t>(page.size()));
    EXPECT_EQ(maskPorts(sentAfterLogin()), "PORT *\r\nRETR index.htm\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()), {}), 1)
        << "no leftover files beside the download";
}

TEST_F(FtpClientTest, FinalReplyArrivingWithTheOpeningOneIsNotReadTwice) {
    connectThen({hear(), say("200 PORT ok\r\n"), hear(), say("150 Here\r\n226 Done\r\n"), pause(50),
                 connectData(), sendData("one\r\ntwo\r\n"), closeData(), hear(),
                 say("257 \"/after\"\r\n")});
    EXPECT_EQ(client->List(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(client->CurrentDirectory(), "/after");
    EXPECT_EQ(maskPorts(sentAfterLogin()), "PORT *\r\nLIST\r\nPWD\r\n");
}

struct AbortCase {
    const char* name;
    const char* finalReplies;
    // What the server does before the client's next command: nothing, or
    // a late second reply; when the second reply did not come in time the
    // client puts the replies back in step with a NOOP.
    Steps meanwhile;
    bool resynchronizes;
};

class FtpAbortTest : public FtpClientTest, public ::testing::WithParamInterface<AbortCase> {};

// Servers differ on whether a second reply follows 426 or 450, and when:
// either way the listing counts as aborted, a retrieval fails, and the
// session goes on with each reply read as the answer to its own command.
TEST_P(FtpAbortTest, AnAbortedTransferEndsItAndTheSessionGoesOn) {
    const AbortCase& c = GetParam();
    Steps resync = {hear(), say("200 NOOP ok\r\n")};
    Steps script = transferSending("partial\r\n", c.finalReplies);
    append(script, c.meanwhile);
    if (c.resynchronizes)
        append(script, resync);
    append(script, transferSending("partial", c.finalReplies));
    append(script, c.meanwhile);
    if (c.resynchronizes)
        append(script, resync);
    append(script, {hear(), say("257 \"/still/here\"\r\n")});
    connectThen(script);

    EXPECT_EQ(client->List(), std::vector<std::string>{"partial"});
    EXPECT_TRUE(events.reported("Transfer aborted"));

    auto local = home.path() / "temp.htm";
    EXPECT_THROW(client->Get("index.htm", local.string()), ftp::FtpReplyError);
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));

    EXPECT_EQ(client->CurrentDirectory(), "/still/here");
    std::string noop = c.resynchronizes ? "NOOP\r\n" : "";
    EXPECT_EQ(maskPorts(sentAfterLogin()),
              "PORT *\r\nLIST\r\n" + noop + "PORT *\r\nRETR index.htm\r\n" + noop + "PWD\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FtpAbortTest,
    ::testing::Values(
        AbortCase{"Aborted426Then226", "426 Aborted\r\n226 Closing\r\n", {}, false},
        AbortCase{"Aborted426Alone", "426 Connection closed; transfer aborted.\r\n", {}, true},
        AbortCase{"NoFiles450Alone", "450 No files found\r\n", {}, true},
        AbortCase{"SecondReplyLate",
                  "426 Aborted\r\n",
                  {pause(kSlow), say("226 Abort successful\r\n")},
                  true}),
    [](const auto& info) { return info.param.name; });

TEST_F(FtpClientTest, PutStoresTheFileAndAnEmptyNameLetsTheServerChoose) {
    std::string bytes(300000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    auto local = home.path() / "picture.gif";
    writeFile(local, bytes);
    Steps script = transferReceiving();
    append(script, transferReceiving("250 Stored as gen123\r\n"));
    connectThen(script);
    client->Put(local.string(), "picture.gif");
    client->Put(local.string(), "");
    EXPECT_EQ(events.workBegin, static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(maskPorts(sentAfterLogin()), "PORT *\r\nSTOR picture.gif\r\nPORT *\r\nSTOU \r\n");
    EXPECT_EQ(server.receivedData(), bytes + bytes);
}

TEST_F(FtpClientTest, PutOfAMissingFileOrAFolderFailsBeforeSendingAnything) {
    connectThen({});
    EXPECT_THROW(client->Put((home.path() / "missing.htm").string(), "x.htm"), FtpError);
    EXPECT_THROW(client->Put(home.path().string(), "x.htm"), FtpError);
    EXPECT_EQ(sentAfterLogin(), "");
}

// A server that drops the data connection in the middle of a store ends
// that operation with an error, not the program (no SIGPIPE).
TEST_F(FtpClientTest, ADroppedStoreFailsWithTheServersReply) {
    auto local = home.path() / "big.bin";
    writeFile(local, std::string(8 << 20, 'b'));
    connectThen({hear(), say("200 PORT ok\r\n"), hear(), say("150 Send it\r\n"), connectData(),
                 closeData(), say("426 Connection closed; transfer aborted.\r\n"), hear(),
                 say("200 NOOP ok\r\n"), hear(), say("257 \"/\"\r\n")});
    EXPECT_EQ(errorOf([&] { client->Put(local.string(), "big.bin"); }),
              "Connection closed; transfer aborted.");
    EXPECT_EQ(client->CurrentDirectory(), "/");
}

struct RefusalCase {
    const char* name;
    Steps afterPort;
    const char* error;
    bool staysConnected;
    // The server answered SIZE for the file just before the retrieval.
    const char* sizeReply = nullptr;
};

class FtpRefusalTest : public FtpClientTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(FtpRefusalTest, ARefusedRetrievalFailsAndLeavesNoFile) {
    const RefusalCase& c = GetParam();
    Steps script;
    if (c.sizeReply)
        append(script, {hear(), say(c.sizeReply)});
    append(script, {hear()});
    append(script, c.afterPort);
    if (c.staysConnected)
        append(script, {hear(), say("257 \"/next\"\r\n")});
    makeClient([](ftp::FtpSettings& s) { s.dataConnectionWait = 300ms; });
    connectThen(script);
    if (c.sizeReply)
        client->Size("index.htm");
    auto local = home.path() / "temp.htm";
    EXPECT_EQ(errorOf([&] { client->Get("index.htm", local.string()); }), c.error);
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));
    // Every end of a transfer is reported, however it ended.
    EXPECT_TRUE(events.reported("Transfer aborted"));
    EXPECT_EQ(events.workEnd, events.workBegin >= 0 ? 1 : 0);
    if (c.staysConnected) {
        EXPECT_EQ(client->CurrentDirectory(), "/next");
    } else {
        EXPECT_FALSE(client->Connected());
        EXPECT_EQ(events.disconnected, 1);
        EXPECT_EQ(errorOf([&] { client->CurrentDirectory(); }), "Not connected.");
    }
    client->Disconnect();
    server.finish();
    EXPECT_TRUE(server.problems().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtpRefusalTest,
    ::testing::Values(
        RefusalCase{"PortRefused", {say("500 PORT not allowed\r\n")}, "PORT not allowed", true},
        RefusalCase{
            "PortAnswered421ThenClosed", {say("421 Timeout\r\n"), hangUp()}, "Timeout", false},
        RefusalCase{"RetrAnswered550",
                    {say("200 PORT ok\r\n"), hear(), say("550 No such file.\r\n")},
                    "No such file.",
                    true},
        RefusalCase{"DataConnectionRefused425",
                    {say("200 PORT ok\r\n"), hear(), say("150 Opening\r\n"),
                     say("425 Can't open data connection.\r\n")},
                    "Can't open data connection.",
                    true},
        RefusalCase{"DataConnectionNeverArrives",
                    {say("200 PORT ok\r\n"), hear(), say("150 Opening\r\n")},
                    "The server did not open the data connection.",
                    true},
        RefusalCase{"DataConnectionKeptOpenAfterTheFinalReply",
                    {say("200 PORT ok\r\n"), hear(), say("150 Opening\r\n"), connectData(),
                     sendData("<html>"), say("226 Done\r\n"), pause(700), closeData()},
                    "The server did not close the data connection.",
                    true},
        RefusalCase{"ClosedInTheMiddleOfAReply",
                    {say("200 PORT ok\r\n"), hear(), say("150-Open"), hangUp()},
                    "Connection closed by the server.",
                    false},
        RefusalCase{"ClosedInTheMiddleOfATransfer",
                    {say("200 PORT ok\r\n"), hear(), say("150 Opening\r\n"), connectData(),
                     sendData("<html><bo"), closeData(), hangUp()},
                    "Connection closed by the server.",
                    false},
        RefusalCase{"ShorterThanTheOpeningReplyAnnounced",
                    {say("200 PORT ok\r\n"), hear(),
                     say("150 Opening BINARY mode data connection for index.htm (1024 bytes)\r\n"),
                     connectData(), sendData(std::string(512, 'x')), closeData(),
                     say("226 Done\r\n")},
                    "The transfer is incomplete: the server sent 512 of 1024 bytes.",
                    true},
        RefusalCase{"ShorterThanSizeAnswered",
                    {say("200 PORT ok\r\n"), hear(), say("150 Opening\r\n"), connectData(),
                     sendData(std::string(512, 'x')), closeData(), say("226 Done\r\n")},
                    "The transfer is incomplete: the server sent 512 of 1024 bytes.",
                    true,
                    "213 1024\r\n"},
        RefusalCase{"DataStallsWhileTheSessionStaysOpen",
                    {say("200 PORT ok\r\n"), hear(), say("150 Opening\r\n"), connectData(),
                     sendData(std::string(100, 'x')), pause(kSilent)},
                    "The transfer stalled: no data moved in time.",
                    false},
        RefusalCase{"OpeningReplyNeverComes",
                    {say("200 PORT ok\r\n"), hear(), pause(kSilent)},
                    "The server did not answer in time.",
                    false},
        RefusalCase{"FinalReplyNeverComes",
                    {say("200 PORT ok\r\n"), hear(), say("150 Opening\r\n"), connectData(),
                     sendData("<html>"), closeData(), pause(kSilent)},
                    "The server did not answer in time.",
                    false},
        RefusalCase{"FinalReplyNeverEnds",
                    {say("200 PORT ok\r\n"), hear(), say("150 Opening\r\n"), connectData(),
                     sendData("<html>"), closeData(), say("226-Done\r\n\r\n"), pause(kSilent)},
                    "The server did not answer in time.",
                    false}),
    [](const auto& info) { return info.param.name; });

TEST_F(FtpClientTest, UnsafeNamesAreRefusedBeforeAnythingIsSent) {
    connectThen({});
    const std::vector<std::string> unsafe = {"a\r\nDELE index.htm", "a\nb", "a\rb",
                                             std::string("a\0b", 3)};
    auto local = (home.path() / "x.htm").string();
    writeFile(local, "x");
    for (const auto& name : unsafe) {
        EXPECT_THROW(client->ChangeDirectory(name), FtpError);
        EXPECT_THROW(client->Size(name), FtpError);
        EXPECT_THROW(client->Get(name, (home.path() / "y.htm").string()), FtpError);
        EXPECT_THROW(client->Put(local, name), FtpError);
    }
    EXPECT_TRUE(client->Connected());
    EXPECT_EQ(sentAfterLogin(), "");

    FtpClient other;
    other.Host = "127.0.0.1";
    other.Username = "bob\r\nDELE index.htm";
    EXPECT_THROW(other.Connect(), FtpError);
    other.Username = "bob";
    other.Password = std::string("se\0cret", 7);
    EXPECT_THROW(other.Connect(), FtpError);
    EXPECT_FALSE(other.Connected());
}

TEST_F(FtpClientTest, AServerThatHangsUpWhileIdleLeavesTheClientDisconnected) {
    connectThen({pause(20), hangUp()});
    for (int i = 0; i < 200 && client->Connected(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(events.disconnected, 1);
    EXPECT_EQ(events.statuses.back(), "Disconnected.");
    EXPECT_EQ(errorOf([&] { client->List(); }), "Not connected.");
}

// Runs `handler` from the main loop, which the client keeps running while
// it waits. The timer goes with the object.
class MainLoopHandler {
public:
    explicit MainLoopHandler(std::function<void()> handler) : m_handler(std::move(handler)) {}
    ~MainLoopHandler() {
        if (m_source)
            g_source_remove(m_source);
    }
    MainLoopHandler(const MainLoopHandler&) = delete;
    MainLoopHandler& operator=(const MainLoopHandler&) = delete;

    void scheduleIn(unsigned milliseconds) { m_source = g_timeout_add(milliseconds, &run, this); }

private:
    static gboolean run(gpointer self) {
        auto* me = static_cast<MainLoopHandler*>(self);
        me->m_source = 0;
        me->m_handler();
        return G_SOURCE_REMOVE;
    }

    std::function<void()> m_handler;
    guint m_source = 0;
};

TEST_F(FtpClientTest, AnOperationStartedWhileAnotherWaitsFailsAtOnce) {
    connectThen({hear(), say("200 PORT ok\r\n"), hear(), say("150 Here\r\n"), pause(300),
                 connectData(), sendData("late.htm\r\n"), closeData(), say("226 Done\r\n")});
    std::string secondError;
    bool connectedMeanwhile = false;
    MainLoopHandler clicked{[&] {
        connectedMeanwhile = client->Connected();
        try {
            client->CurrentDirectory();
        } catch (const FtpError& e) {
            secondError = e.what();
        }
    }};
    clicked.scheduleIn(50);
    EXPECT_EQ(client->List(), std::vector<std::string>{"late.htm"});
    EXPECT_TRUE(connectedMeanwhile);
    EXPECT_EQ(secondError, "Another FTP operation is still in progress.");
    // Nothing of the second operation reached the wire.
    EXPECT_EQ(maskPorts(sentAfterLogin()), "PORT *\r\nLIST\r\n");
}

TEST_F(FtpClientTest, DisconnectFromAHandlerEndsTheWaitingOperation) {
    connectThen({hear(), say("200 PORT ok\r\n"), hear(), say("150 Here\r\n"), pause(2000)});
    MainLoopHandler clicked{[&] { client->Disconnect(); }};
    clicked.scheduleIn(50);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([&] { client->List(); }), "Disconnected.");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1500ms);
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(events.disconnected, 1);
    // A new session can start at once.
    EXPECT_THROW(client->CurrentDirectory(), FtpError);
}

TEST_F(FtpClientTest, ARefusedConnectionFailsWithTheSystemsMessage) {
    uint16_t freePort = loopback::freePort();
    makeClient([&](ftp::FtpSettings& s) { s.port = freePort; });
    EXPECT_EQ(errorOf<std::exception>([&] { client->Connect(); }), "Connection refused");
    EXPECT_FALSE(client->Connected());
}

TEST_F(FtpClientTest, AConnectionAttemptThatHangsTimesOut) {
    // A listener whose queue is full drops further attempts unanswered.
    uint16_t port = 0;
    int full = loopback::listen(0, port);
    sockaddr_in sa = loopback::address(port);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        int f = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(f, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        fillers.push_back(f);
    }
    makeClient([&](ftp::FtpSettings& s) {
        s.port = port;
        s.connectTimeout = 400ms;
    });
    int pumps = 0;
    MainLoopHandler tick{[&] { ++pumps; }};
    tick.scheduleIn(100);
    // Should a kernel accept the attempt after all, the wait for a greeting
    // must still end.
    MainLoopHandler guard{[&] { client->Disconnect(); }};
    guard.scheduleIn(3000);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf<std::exception>([&] { client->Connect(); }), "Connect timed out.");
    auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, 400ms);
    EXPECT_LT(took, 3s);
    EXPECT_EQ(pumps, 1) << "the main loop ran while the attempt was waited for";
    EXPECT_FALSE(client->Connected());
    for (int f : fillers)
        ::close(f);
    ::close(full);
}

// Anyone on the machine may reach the client's data port. A third party
// that connects first is turned away: the upload goes to the server only,
// and the download holds the server's bytes only.
TEST_F(FtpClientTest, OnlyTheServerMayOpenTheDataConnection) {
    std::string page = "<html>the server's page</html>";
    std::string upload(200000, 'u');
    auto local = home.path() / "page.htm";
    auto toSend = home.path() / "upload.bin";
    writeFile(toSend, upload);
    connectThen({hear(), say("200 PORT ok\r\n"), hear(), say("150 Here\r\n"),
                 intrude("<html>forged</html>"), connectData(), sendData(page), closeData(),
                 say("226 Done\r\n"), hear(), say("200 PORT ok\r\n"), hear(), say("150 Send\r\n"),
                 intrude(""), connectData(), receiveData(), closeData(), say("226 Done\r\n")});
    client->Get("index.htm", local.string());
    client->Put(toSend.string(), "upload.bin");
    EXPECT_EQ(readFile(local), page);
    EXPECT_EQ(maskPorts(sentAfterLogin()),
              "PORT *\r\nRETR index.htm\r\nPORT *\r\nSTOR upload.bin\r\n");
    EXPECT_EQ(server.receivedData(), upload);
    EXPECT_EQ(server.intruderReceived(), "");
}

// A server that takes the upload's data connection and never reads it.
TEST_F(FtpClientTest, AStalledUploadTimesOutAndClosesTheSession) {
    auto local = home.path() / "big.bin";
    writeFile(local, std::string(32 << 20, 'b'));
    connectThen({hear(), say("200 PORT ok\r\n"), hear(), say("150 Send it\r\n"), connectData(),
                 pause(kSilent * 2)});
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([&] { client->Put(local.string(), "big.bin"); }),
              "The transfer stalled: no data moved in time.");
    EXPECT_LT(std::chrono::steady_clock::now() - started, kReplyTimeout + 2s);
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(events.workEnd, 1);
    EXPECT_TRUE(events.reported("Transfer aborted"));
}

// A full disk is a local failure: the error names the file, even though
// the server then reports the transfer as aborted by its peer.
TEST_F(FtpClientTest, ALocalWriteFailureIsReportedAsLocal) {
    auto local = home.path() / "page.htm";
    connectThen({hear(), say("200 PORT ok\r\n"), hear(), say("150 Here\r\n"), connectData(),
                 sendData(std::string(256 << 10, 'p')), closeData(),
                 say("426 Connection closed; transfer aborted.\r\n"), hear(),
                 say("200 NOOP ok\r\n"), hear(), say("257 \"/after\"\r\n")});
    // The file size limit stands in for a full disk.
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::string error = errorOf([&] { client->Get("index.htm", local.string()); });
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(error, "Cannot write file \"" + local.string() + "\". File too large");
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));
    EXPECT_EQ(events.workEnd, 1);
    EXPECT_EQ(client->CurrentDirectory(), "/after");
}

TEST_F(FtpClientTest, AListingBeyondTheLimitIsRefusedAndTheSessionGoesOn) {
    makeClient([](ftp::FtpSettings& s) { s.maxListingSize = 1 << 20; });
    std::string line = std::string(99, 'l') + "\n";
    std::string listing;
    while (listing.size() < (3u << 19))
        listing += line;
    Steps script = transferSending(listing, "426 Connection closed; transfer aborted.\r\n");
    append(script, {hear(), say("200 NOOP ok\r\n"), hear(), say("257 \"/after\"\r\n")});
    connectThen(script);
    EXPECT_EQ(errorOf([&] { client->List(); }), "The listing is longer than 1 MB.");
    EXPECT_EQ(client->CurrentDirectory(), "/after");
}

TEST_F(FtpClientTest, DisconnectWhileDataMovesEndsTheWork) {
    connectThen({hear(), say("200 PORT ok\r\n"), hear(), say("150 Here\r\n"), connectData(),
                 sendData(std::string(100, 'x')), pause(kSilent)});
    MainLoopHandler clicked{[&] { client->Disconnect(); }};
    clicked.scheduleIn(200);
    EXPECT_EQ(errorOf([&] { client->Get("index.htm", (home.path() / "p.htm").string()); }),
              "Disconnected.");
    EXPECT_EQ(events.workBegin, 0);
    EXPECT_EQ(events.workEnd, 1);
    EXPECT_TRUE(events.reported("Transfer aborted"));
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));
}

#include "ScriptedFtpServer.h"
#include "SessionFakes.h"

#include "platform/places/Places.h"
#include "publishing/ftp/TMainForm.h"
#include "support/ScriptedDialogs.h"
#include "support/TempHome.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>

#include "support/Files.h"
using testfiles::readFile;

using namespace std::chrono_literals;
using ftp::TMainForm;
using Steps = std::vector<ScriptedFtpServer::Step>;

namespace {

Steps listing(const std::string& data) {
    return {hear(),        say("200 PORT ok\r\n"), hear(),      say("150 Listing\r\n"),
            connectData(), sendData(data),         closeData(), say("226 Done\r\n")};
}

// SIZE, then the retrieval of `page`.
Steps download(const std::string& page) {
    return {hear(),        say("213 " + std::to_string(page.size()) + "\r\n"),
            hear(),        say("200 PORT ok\r\n"),
            hear(),        say("150 Opening\r\n"),
            connectData(), sendData(page),
            closeData(),   say("226 Done\r\n")};
}

std::string withoutPorts(const std::string& sent) {
    return std::regex_replace(sent, std::regex("PORT 127,0,0,1,[0-9]+,[0-9]+"), "PORT *");
}

class TMainFormTest : public ::testing::Test {
protected:
    TMainFormTest() : form(settings()), errorRoutine(form), scoped(dialogs) {
        form.FBandForm = &band;
        form.FErrorRoutine = &errorRoutine;
        form.FtpServerEdit = "127.0.0.1";
        form.UserIDEdit = "bob";
        form.PasswordEdit = "secret";
    }

    ftp::FtpSettings settings() {
        ftp::FtpSettings s;
        s.port = server.port();
        s.connectTimeout = 5s;
        s.dataConnectionWait = 5s;
        return s;
    }

    // The login answered, the working directory reported as `pwd`, then `after`.
    void play(const std::string& pwd, const Steps& after) {
        Steps script = greetingAndLogin();
        append(script, {hear(), say("257 \"" + pwd + "\" is current\r\n")});
        append(script, after);
        server.play(script);
    }

    std::string sentAfterLogin() {
        form.IdFTP1.Disconnect();
        std::string sent = server.finish();
        EXPECT_TRUE(server.problems().empty());
        return withoutPorts(sent.substr(std::min(sent.size(), std::string(kLoginCommands).size())));
    }

    TempHome home;
    ScriptedFtpServer server;
    FakeBandForm band;
    TMainForm form;
    FakeErrorRoutine errorRoutine;
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped;
};

} // namespace

TEST_F(TMainFormTest, ConnectingWhereTheServerAlreadyIsSendsNoCwdAndNoList) {
    form.DirectoryListBox = {"kept.htm"};
    play("/", {});
    form.ConnectButtonClick();
    EXPECT_TRUE(form.IdFTP1.Connected());
    EXPECT_EQ(form.DirectoryListBox, std::vector<std::string>{"kept.htm"});
    EXPECT_EQ(band.statuses,
              (std::vector<std::string>{"Connected to 127.0.0.1", "Remote directory: /"}));
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(sentAfterLogin(), "PWD\r\n");
}

TEST_F(TMainFormTest, ConnectingElsewhereChangesIntoRemoteStartAndListsIt) {
    form.remotestart = "www/site";
    Steps after = {hear(), say("250 OK\r\n"), hear(), say("257 \"/home/bob/www/site\"\r\n")};
    append(after, listing("index.html\r\nlogo.gif\r\n"));
    play("/home/bob", after);
    form.ConnectButtonClick();
    EXPECT_EQ(form.CurrentDirEdit, "/home/bob/www/site");
    EXPECT_EQ(form.DirectoryListBox, (std::vector<std::string>{"index.html", "logo.gif"}));
    EXPECT_EQ(band.statuses.back(), "Remote directory: www/site");
    EXPECT_EQ(sentAfterLogin(), "PWD\r\nCWD www/site\r\nPWD\r\nPORT *\r\nLIST\r\n");
}

TEST_F(TMainFormTest, AFailedChangeIntoRemoteStartShowsThreeBoxesInOrderAndRaisesNothing) {
    form.remotestart = "/missing";
    play("/", {hear(), say("550 Failed to change directory.\r\n")});
    EXPECT_NO_THROW(form.ConnectButtonClick());
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown()[0].text, "No such directory");
    EXPECT_EQ(dialogs.shown()[0].caption, "Error");
    EXPECT_EQ(dialogs.shown()[1].caption, "Warning");
    EXPECT_EQ(dialogs.shown()[1].text, "Failed to change directory.");
    EXPECT_EQ(dialogs.shown()[2].text, "Could not connect");
    EXPECT_EQ(dialogs.shown()[2].caption, "Warning");
    EXPECT_EQ(band.statuses.back(), "Remote directory: /missing");
    EXPECT_FALSE(form.IdFTP1.Connected());
    EXPECT_EQ(form.remotestart, "/missing");
    EXPECT_EQ(form.StatusPanel, "Disconnected.");
}

TEST_F(TMainFormTest, AFailedListingShowsCouldNotRetrieveDirectory) {
    form.remotestart = "/www";
    form.DirectoryListBox = {"old"};
    play("/", {hear(), say("250 OK\r\n"), hear(), say("257 \"/www\"\r\n"), hear(),
               say("200 PORT ok\r\n"), hear(), say("550 Permission denied.\r\n")});
    EXPECT_NO_THROW(form.ConnectButtonClick());
    EXPECT_EQ(dialogs.messages(),
              (std::vector<std::string>{"Could not retrieve directory", "Permission denied.",
                                        "Could not connect"}));
    EXPECT_TRUE(form.DirectoryListBox.empty());
}

TEST_F(TMainFormTest, ARefusedLoginShowsCouldNotConnectAndRaises) {
    server.play({say("220 Ready\r\n"), hear(), say("530 Login incorrect.\r\n")});
    EXPECT_THROW(form.ConnectButtonClick(), std::exception);
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Could not connect"});
    EXPECT_EQ(dialogs.shown()[0].caption, "Warning");
    EXPECT_TRUE(band.statuses.empty());
}

TEST_F(TMainFormTest, ABlankDirectoryMeansTheRoot) {
    Steps after = {hear(), say("250 OK\r\n"), hear(), say("257 \"/\"\r\n")};
    append(after, listing("a.htm\r\n"));
    play("/", after);
    form.ConnectButtonClick();
    form.CurrentDirEdit = "   ";
    form.ChDirButtonClick();
    EXPECT_EQ(form.remotestart, "/");
    EXPECT_EQ(form.CurrentDirEdit, "/");
    EXPECT_EQ(form.DirectoryListBox, std::vector<std::string>{"a.htm"});
    EXPECT_EQ(sentAfterLogin(), "PWD\r\nCWD /\r\nPWD\r\nPORT *\r\nLIST\r\n");
}

TEST_F(TMainFormTest, GetfileAddsTheBaseElementAndShowsTheCopy) {
    band.uri.protocol = "http";
    band.uri.host = "www.example.com";
    band.uri.path = "/dir/";
    std::string page = "<html>\r\n<body><img src=\"a.gif\"></body>\r\n</html>\r\n";
    play("/", download(page));
    form.ConnectButtonClick();
    form.getfile("page.htm");

    auto copy = places::cacheFolder() / "temp.htm";
    EXPECT_EQ(band.temp, "temp.htm") << "no earlier copy, so the name stays";
    EXPECT_EQ(readFile(copy), "<base href=\"http://www.example.com/dir/\"/>\r\n" + page);
    EXPECT_EQ(band.remote, "http://www.example.com/dir/page.htm");
    EXPECT_EQ(band.shown->navigations, std::vector<std::string>{copy.string()});
    EXPECT_TRUE(band.shown->busyAnswers.empty()) << "waited until the browser had loaded";
    EXPECT_EQ(form.FExpectedSize, 0) << "reset when the transfer ended";
    EXPECT_EQ(sentAfterLogin(), "PWD\r\nSIZE page.htm\r\nPORT *\r\nRETR page.htm\r\n");
}

TEST_F(TMainFormTest, APageWithABaseElementIsKeptAsDownloaded) {
    std::string page = "<HTML><HEAD><BASE HREF=\"http://elsewhere/\"></HEAD>\nbody\n</HTML>";
    play("/", download(page));
    form.ConnectButtonClick();
    form.getfile("page.htm");
    EXPECT_EQ(readFile(places::cacheFolder() / band.temp), page);
}

TEST_F(TMainFormTest, EachDownloadOverAnEarlierCopyGetsANewPrefix) {
    Steps after = download("<p>one</p>");
    append(after, download("<p>two</p>"));
    append(after, download("<p>three</p>"));
    play("/", after);
    form.ConnectButtonClick();
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        form.getfile("page.htm");
        names.push_back(band.temp);
    }
    EXPECT_EQ(names[0], "temp.htm");
    EXPECT_TRUE(std::regex_match(names[1], std::regex("(0|[1-9][0-9]{0,2})temp\\.htm")))
        << names[1];
    EXPECT_TRUE(std::regex_match(names[2], std::regex("(0|[1-9][0-9]{0,2})" + names[1])))
        << names[2];
    EXPECT_NE(readFile(places::cacheFolder() / names[2]).find("<p>three</p>"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(places::cacheFolder() / names[0]));
}

TEST_F(TMainFormTest, AFailedDownloadReachesTheCallerAndShowsNothing) {
    play("/", {hear(), say("213 512\r\n"), hear(), say("200 PORT ok\r\n"), hear(),
               say("550 No such file.\r\n")});
    form.ConnectButtonClick();
    EXPECT_THROW(form.getfile("page.htm"), std::exception);
    EXPECT_EQ(form.FExpectedSize, 512);
    EXPECT_TRUE(band.shown->navigations.empty());
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(TMainFormTest, ProgressTakesTheSizeQueryWhenTheTransferAnnouncesNone) {
    form.FExpectedSize = 2048;
    form.IdFTP1WorkBegin(0);
    EXPECT_EQ(form.ProgressMax, 2048);
    form.IdFTP1WorkBegin(4096);
    EXPECT_EQ(form.ProgressMax, 4096);
    form.IdFTP1Work(1000);
    EXPECT_EQ(form.ProgressPosition, 1000);
    form.IdFTP1WorkEnd();
    EXPECT_EQ(form.ProgressPosition, 0);
    EXPECT_EQ(form.FExpectedSize, 0);
    EXPECT_EQ(form.StatusPanel, "Transfer complete.");
}

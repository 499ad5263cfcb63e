#include "SessionFakes.h"
#include "support/VsftpdServer.h"

#include "platform/places/Places.h"
#include "publishing/ftp/FtpClient.h"
#include "publishing/ftp/FtpError.h"
#include "support/ScriptedDialogs.h"
#include "support/TempHome.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

#include "support/Files.h"
using testfiles::readFile;
using testfiles::writeFile;

using namespace std::chrono_literals;
using ftp::FtpClient;

namespace {

std::string randomBytes(size_t size) {
    std::mt19937 generator(42);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator());
    return bytes;
}

bool listed(const std::vector<std::string>& lines, const std::string& name) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() > name.size() &&
               line.compare(line.size() - name.size() - 1, std::string::npos, " " + name) == 0;
    });
}

class FtpRealServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server.unavailable().empty())
            GTEST_SKIP() << server.unavailable();
        ftp::FtpSettings settings;
        settings.port = server.port();
        settings.connectTimeout = 10s;
        client = std::make_unique<FtpClient>(settings);
        client->Host = "127.0.0.1";
        client->Username = "anonymous";
        client->Password = "tavrisk@example.com";
        client->Connect();
    }

    TempHome home;
    VsftpdServer server;
    std::unique_ptr<FtpClient> client;
};

} // namespace

TEST_F(FtpRealServerTest, BrowsesTheTreeAndReportsSizes) {
    writeFile(server.site() / "index.html", "<html>home</html>");
    EXPECT_EQ(client->SystemDescription(), "UNIX Type: L8");
    EXPECT_EQ(client->CurrentDirectory(), server.clientPath(""));
    client->ChangeDirectory("site");
    EXPECT_EQ(client->CurrentDirectory(), server.clientPath("site"));
    auto lines = client->List();
    EXPECT_TRUE(listed(lines, "index.html")) << ::testing::PrintToString(lines);
    EXPECT_EQ(client->Size("index.html"), 17);
    EXPECT_EQ(client->Size("missing.html"), -1);
    EXPECT_THROW(client->ChangeDirectory("/nowhere"), ftp::FtpReplyError);
    EXPECT_TRUE(client->Connected());
    client->ChangeDirectory(server.clientPath(""));
    EXPECT_TRUE(listed(client->List(), "site"));
}

TEST_F(FtpRealServerTest, StoresAndRetrievesFilesByteForByte) {
    std::string bytes = randomBytes(3 << 20);
    auto local = home.path() / "picture.bin";
    writeFile(local, bytes);
    client->ChangeDirectory(server.clientPath("site"));
    client->Put(local.string(), "picture.bin");
    EXPECT_EQ(readFile(server.site() / "picture.bin"), bytes);

    auto back = home.path() / "back.bin";
    client->Get("picture.bin", back.string());
    EXPECT_EQ(readFile(back), bytes);

    // An empty name lets the server choose one.
    client->Put(local.string(), "");
    size_t stored = 0;
    for (const auto& entry : std::filesystem::directory_iterator(server.site()))
        stored += readFile(entry.path()) == bytes;
    EXPECT_EQ(stored, 2u);
}

TEST_F(FtpRealServerTest, AMissingFileFailsWithoutLeavingAFileAndTheSessionGoesOn) {
    client->ChangeDirectory(server.clientPath("site"));
    auto local = home.path() / "temp.htm";
    EXPECT_THROW(client->Get("missing.htm", local.string()), ftp::FtpReplyError);
    EXPECT_FALSE(std::filesystem::exists(local));
    EXPECT_TRUE(client->Connected());
    EXPECT_EQ(client->CurrentDirectory(), server.clientPath("site"));
    EXPECT_TRUE(client->List().empty());
}

// The session form end to end: connect into the site folder, list it, open
// its page as the working copy.
TEST(FtpRealServerSessionTest, ConnectsListsAndOpensAPage) {
    VsftpdServer server;
    if (!server.unavailable().empty())
        GTEST_SKIP() << server.unavailable();
    TempHome home;
    writeFile(server.site() / "index.html", "<html><img src=\"logo.gif\"></html>\n");
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped(dialogs);
    ftp::FtpSettings settings;
    settings.port = server.port();
    ftp::TMainForm form(settings);
    FakeBandForm band;
    FakeErrorRoutine errorRoutine(form);
    form.FBandForm = &band;
    form.FErrorRoutine = &errorRoutine;
    form.FtpServerEdit = "127.0.0.1";
    form.UserIDEdit = "anonymous";
    form.PasswordEdit = "tavrisk@example.com";
    form.remotestart = server.clientPath("site");

    form.ConnectButtonClick();
    EXPECT_EQ(form.CurrentDirEdit, server.clientPath("site"));
    EXPECT_TRUE(listed(form.DirectoryListBox, "index.html"));
    band.uri = connections::UrlParts::parse("http://www.example.com/site/index.html");
    form.getfile("index.html");
    EXPECT_EQ(readFile(places::cacheFolder() / band.temp),
              "<base href=\"http://www.example.com/site/\"/>\r\n"
              "<html><img src=\"logo.gif\"></html>\n");
    EXPECT_EQ(band.shown->navigations.size(), 1u);
    EXPECT_TRUE(dialogs.shown().empty());
}

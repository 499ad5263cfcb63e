#include "publishing/ftp/ScriptedFtpServer.h"

#include "support/FakeBrowser.h"
#include "platform/places/Places.h"
#include "support/ScriptedDialogs.h"
#include "publishing/documents/Documents.h"
#include "support/Files.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <regex>

using namespace std::chrono_literals;
using documents::Documents;
using testfiles::readFile;
using testfiles::writeFile;
using Reply = ui::ScriptedDialogs::Reply;
using Steps = std::vector<ScriptedFtpServer::Step>;

namespace {

class DocumentsTest : public ::testing::Test {
protected:
    DocumentsTest() : client(settings()), scoped(dialogs) {
        shown->document = browser::fake::FakeDocument::create();
        shown->locationURL = "http://www.example.com/dir/page.htm";
        client.Host = "127.0.0.1";
        client.Username = "bob";
        client.Password = "secret";
    }

    ftp::FtpSettings settings() {
        ftp::FtpSettings s;
        s.port = server.port();
        s.connectTimeout = 5s;
        s.dataConnectionWait = 5s;
        return s;
    }

    std::string folder() { return places::withTrailingSlash(places::dataFolder()); }

    Documents commands() {
        return Documents({
            .browser = shown.get(),
            .pageUri = uri,
            .ftp = client,
            .folder = folder(),
            .templates = templates,
            .enterEditMode = [this] { ++editModeEntries; },
            .waiting = [] {},
            .trace = {},
        });
    }

    void connect(const Steps& after) {
        Steps script = greetingAndLogin();
        append(script, after);
        server.play(script);
        client.Connect();
    }

    // What the client sent in the session that ends now, after its login;
    // the server records every session of a test one after the other.
    std::string sentAfterLogin() {
        client.Disconnect();
        std::string all = server.finish();
        EXPECT_THAT(server.problems(), ::testing::IsEmpty());
        std::string sent = all.substr(std::min(all.size(), m_controlSeen + kLogin.size()));
        m_controlSeen = all.size();
        return std::regex_replace(sent, std::regex("PORT [0-9,]+"), "PORT *");
    }
    // What reached the server on data connections since the last call.
    std::string newData() {
        std::string all = server.receivedData();
        std::string fresh = all.substr(m_dataSeen);
        m_dataSeen = all.size();
        return fresh;
    }

    TempHome home;
    ScriptedFtpServer server;
    ftp::FtpClient client;
    ComPtr<browser::fake::FakeBrowser> shown = browser::fake::FakeBrowser::create();
    connections::UrlParts uri = connections::UrlParts::parse("http://www.example.com/dir/page.htm");
    std::string templates = documents::templateFolder();
    int editModeEntries = 0;
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped;

private:
    const std::string kLogin = kLoginCommands;
    size_t m_controlSeen = 0;
    size_t m_dataSeen = 0;
};

const Steps kAbsent = {hear(), say("550 Could not get file size.\r\n")};
const Steps kPresent = {hear(), say("213 1234\r\n")};
const Steps kStored = {
    hear(),        say("200 PORT ok\r\n"), hear(), say("150 Ok\r\n"), connectData(),
    receiveData(), say("226 Done\r\n")};

Steps join(Steps a, const Steps& b) {
    append(a, b);
    return a;
}

} // namespace

TEST_F(DocumentsTest, ANewPageWithoutASessionIsWrittenToTheDiskAndEdited) {
    struct Case {
        const char* what;
        std::vector<Reply> replies;
        const char* file; // "" when no page may be made
        const char* text;
    };
    writeFile(folder() + "old.htm", "kept");
    for (const Case& c : {
             Case{"prompt cancelled",
                  {ui::Answer::Yes},
                  "newpage.htm",
                  "<html><head><title>newpage.htm</title></head><body>Edit here (newpage.htm)"
                  "</body></html>\r\n"},
             Case{"named",
                  {ui::Answer::Yes, std::string("a.htm")},
                  "a.htm",
                  "<html><head><title>a.htm</title></head><body>Edit here "
                  "(a.htm)</body></html>\r\n"},
             Case{"name emptied", {ui::Answer::Yes, std::string()}, "", ""},
             Case{"not started", {ui::Answer::No}, "", ""},
             Case{"existing kept",
                  {ui::Answer::Yes, std::string("old.htm"), ui::Answer::No},
                  "",
                  ""},
             Case{"existing replaced",
                  {ui::Answer::Yes, std::string("old.htm"), ui::Answer::Yes},
                  "old.htm",
                  "<html><head><title>old.htm</title></head><body>Edit here (old.htm)"
                  "</body></html>\r\n"},
         }) {
        SCOPED_TRACE(c.what);
        shown->navigations.clear();
        editModeEntries = 0;
        for (const Reply& reply : c.replies)
            dialogs.queue(reply);
        commands().newPage();
        if (*c.file) {
            EXPECT_EQ(readFile(folder() + c.file), c.text);
            EXPECT_EQ(shown->navigations, std::vector<std::string>{folder() + c.file});
            EXPECT_EQ(editModeEntries, 1);
        } else {
            EXPECT_TRUE(shown->navigations.empty());
            EXPECT_EQ(editModeEntries, 0);
        }
    }
    EXPECT_EQ(readFile(folder() + "old.htm"), "<html><head><title>old.htm</title></head><body>"
                                              "Edit here (old.htm)</body></html>\r\n");
}

TEST_F(DocumentsTest, ANewPageWithASessionIsStoredOnTheSiteAndOpenedFromIt) {
    struct Case {
        const char* what;
        std::vector<Reply> replies;
        Steps script;
        const char* sent;
        const char* stored; // "" when nothing may be stored
    };
    for (const Case& c : {
             Case{"prompt cancelled",
                  {ui::Answer::Yes},
                  join(kAbsent, kStored),
                  "SIZE newpage.htm\r\nPORT *\r\nSTOR newpage.htm\r\n",
                  "<html><head><title>newpage.htm</title></head><body>newpage.htm</body></"
                  "html>\r\n"},
             Case{"named",
                  {ui::Answer::Yes, std::string("a.htm")},
                  join(kAbsent, kStored),
                  "SIZE a.htm\r\nPORT *\r\nSTOR a.htm\r\n",
                  "<html><head><title>a.htm</title></head><body>a.htm</body></html>\r\n"},
             Case{"name emptied", {ui::Answer::Yes, std::string()}, {}, "", ""},
             Case{"live page kept",
                  {ui::Answer::Yes, std::string("index.htm"), ui::Answer::No},
                  kPresent,
                  "SIZE index.htm\r\n",
                  ""},
             Case{"live page replaced",
                  {ui::Answer::Yes, std::string("index.htm"), ui::Answer::Yes},
                  join(kPresent, kStored),
                  "SIZE index.htm\r\nPORT *\r\nSTOR index.htm\r\n",
                  "<html><head><title>index.htm</title></head><body>index.htm</body></html>\r\n"},
         }) {
        SCOPED_TRACE(c.what);
        shown->navigations.clear();
        editModeEntries = 0;
        uri.document = "page.htm";
        connect(c.script);
        for (const Reply& reply : c.replies)
            dialogs.queue(reply);
        commands().newPage();
        EXPECT_EQ(sentAfterLogin(), c.sent);
        EXPECT_EQ(newData(), c.stored);
        if (*c.stored) {
            std::string name = std::string(c.sent).substr(5, std::string(c.sent).find('\r') - 5);
            EXPECT_EQ(shown->navigations,
                      std::vector<std::string>{"http://www.example.com/dir/" + name});
            EXPECT_EQ(uri.document, name);
            EXPECT_EQ(editModeEntries, 1);
        } else {
            EXPECT_TRUE(shown->navigations.empty());
            EXPECT_EQ(uri.document, "page.htm");
        }
    }
}

TEST_F(DocumentsTest, ANewPageOnASiteWithItsOwnPortIsOpenedOnThatPort) {
    uri = connections::UrlParts::parse("http://127.0.0.1:8080/dir/page.htm");
    connect(join(kAbsent, kStored));
    dialogs.queue(ui::Answer::Yes);
    commands().newPage();
    sentAfterLogin();
    EXPECT_EQ(shown->navigations,
              std::vector<std::string>{"http://127.0.0.1:8080/dir/newpage.htm"});
}

TEST_F(DocumentsTest, ATemplateIsOpenedItselfAndEditedAChoiceCancelledOrMissingDoesNothing) {
    std::string chosen = templates + "Plain.htm";
    ASSERT_FALSE(readFile(chosen).empty());
    struct Case {
        const char* what;
        std::optional<std::string> answer;
        bool opened;
    };
    for (const Case& c : {Case{"chosen", chosen, true}, Case{"cancelled", std::nullopt, false},
                          Case{"missing", templates + "none.htm", false}}) {
        SCOPED_TRACE(c.what);
        shown->navigations.clear();
        editModeEntries = 0;
        dialogs.queue(c.answer);
        commands().pageFromTemplate();
        EXPECT_EQ(shown->navigations.size(), c.opened ? 1u : 0u);
        EXPECT_EQ(editModeEntries, c.opened ? 1 : 0);
    }
    ASSERT_EQ(dialogs.shown().back().kind, ui::ScriptedDialogs::Kind::OpenFile);
}

TEST_F(DocumentsTest, OpenShowsTheFileWithoutEditingAndSaveAsksTheBrowser) {
    std::string page = folder() + "mine.htm";
    writeFile(page, "<html></html>");
    dialogs.queue(std::optional<std::string>(page));
    commands().open();
    EXPECT_EQ(shown->navigations, std::vector<std::string>{page});
    EXPECT_EQ(editModeEntries, 0);

    commands().save();
    ASSERT_EQ(shown->document->commands.size(), 1u);
    EXPECT_EQ(shown->document->commands[0].command, "SaveAs");
    EXPECT_EQ(shown->document->commands[0].value.toText(), "");
}

TEST(Templates, ShipAsCompletePagesThatDeclareTheirTypeAndCharset) {
    std::vector<std::string> pages;
    for (const auto& entry : std::filesystem::directory_iterator(documents::templateFolder()))
        if (entry.path().extension() == ".htm")
            pages.push_back(entry.path().string());
    EXPECT_GE(pages.size(), 3u);
    for (const std::string& page : pages) {
        std::string text = readFile(page);
        EXPECT_EQ(text.rfind("<!DOCTYPE html>", 0), 0u) << page;
        EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
        EXPECT_NE(text.find("<title>"), std::string::npos) << page;
        EXPECT_NE(text.find("</html>"), std::string::npos) << page;
    }
}

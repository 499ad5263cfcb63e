#include "publishing/ftp/ScriptedFtpServer.h"

#include "support/FakeBrowser.h"
#include "support/ScriptedDialogs.h"
#include "publishing/documents/SaveHtml.h"
#include "publishing/documents/Upload.h"
#include "support/Files.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

using namespace std::chrono_literals;
using documents::Upload;
using documents::UploadOutcome;
using testfiles::readFile;
using testfiles::writeFile;
using ::testing::HasSubstr;
using Steps = std::vector<ScriptedFtpServer::Step>;

namespace {

Steps stored() {
    return {hear(),
            say("200 PORT ok\r\n"),
            hear(),
            say("150 Ok to send data.\r\n"),
            connectData(),
            receiveData(),
            say("226 Transfer complete.\r\n")};
}

Steps pwd() {
    return {hear(), say("257 \"/www/dir\" is the current directory\r\n")};
}

std::string withoutPorts(const std::string& sent) {
    return std::regex_replace(sent, std::regex("PORT 127,0,0,1,[0-9]+,[0-9]+"), "PORT *");
}

// A page of www.example.com opened for editing, with two pictures from the
// disk, one of them with a blank in its name; a session on the scripted
// server.
class UploadTest : public ::testing::Test {
protected:
    UploadTest() : client(settings()), scoped(dialogs) {
        pictures = home.path() / "pictures";
        writeFile(pictures / "My Photo.png", std::string("\x89PNG\r\n\x1a\n first", 15));
        writeFile(pictures / "b.png", "second picture");
        shown->document = browser::fake::FakeDocument::create();
        shown->locationURL = "file:///cache/temp.htm";
        shown->document->doctype = "<!DOCTYPE html>";
        shown->document->html()->put_innerHTML(
            ("<head><title>Page</title></head><body><p>Hello</p>\n"
             "<img src=\"file://" +
             pictures.string() + "/My%20Photo.png\">\n<img src=\"file://" + pictures.string() +
             "/b.png\"></body>")
                .c_str());
        client.Host = "127.0.0.1";
        client.Username = "bob";
        client.Password = "secret";
        writeFile(folder() + "keep", "");
    }

    ftp::FtpSettings settings() {
        ftp::FtpSettings s;
        s.port = server.port();
        s.connectTimeout = 5s;
        s.dataConnectionWait = 5s;
        return s;
    }

    std::string folder() { return (home.path() / "data").string() + "/"; }

    Upload makeUpload() {
        return Upload({
            .browser = shown.get(),
            .pageUri = uri,
            .remotePageURL = remote,
            .uploadNames = names,
            .uploadFiles = files,
            .ftp = client,
            .folder = folder(),
            .reconnect = [this] { reconnect(); },
            .saveToDisk = [this] { ++saves; },
            .status = [this](const std::string& text) { onStatus(text); },
            .trace = {},
        });
    }

    // Logs in, then plays `after`.
    void connect(const Steps& after) {
        Steps script = greetingAndLogin();
        append(script, after);
        server.play(script);
        client.Connect();
    }

    // What the client sent after its login, with the PORT arguments blanked.
    // The server records the sessions of a test one after the other.
    std::string sentAfterLogin() {
        client.Disconnect();
        std::string all = server.finish();
        EXPECT_THAT(server.problems(), ::testing::IsEmpty());
        size_t from = std::min(all.size(), controlSeen + std::string(kLoginCommands).size());
        controlSeen = all.size();
        return withoutPorts(all.substr(from));
    }

    void onStatus(const std::string& text) {
        statuses.push_back(text);
        if (onStatusHook)
            onStatusHook(text);
    }

    TempHome home;
    std::filesystem::path pictures;
    ScriptedFtpServer server;
    ftp::FtpClient client;
    ComPtr<browser::fake::FakeBrowser> shown = browser::fake::FakeBrowser::create();
    connections::UrlParts uri = connections::UrlParts::parse("http://www.example.com/dir/page.htm");
    std::string remote = "http://www.example.com/dir/page.htm";
    std::vector<std::string> names, files;
    std::vector<std::string> statuses;
    std::function<void(const std::string&)> onStatusHook;
    std::function<void()> reconnect = [] {};
    int saves = 0;
    size_t controlSeen = 0;
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped;
};

const char* const kPublishedPage = "<!DOCTYPE html>\r\n"
                                   "<html><head><title>Page</title></head><body><p>Hello</p>\r\n"
                                   "<img src=\"my%20photo.png\">\r\n"
                                   "<img src=\"b.png\"></body></html>\r\n";

} // namespace

TEST_F(UploadTest, SendsThePageThenEachPictureEachFollowedByPwd) {
    Steps script = stored();
    for (int i = 0; i < 2; ++i) {
        append(script, pwd());
        append(script, stored());
    }
    append(script, pwd());
    connect(script);
    dialogs.queue(ui::Answer::Yes);

    EXPECT_EQ(makeUpload().run(), UploadOutcome::Published);

    EXPECT_EQ(sentAfterLogin(), "PORT *\r\nSTOR page.htm\r\nPWD\r\n"
                                "PORT *\r\nSTOR my photo.png\r\nPWD\r\n"
                                "PORT *\r\nSTOR b.png\r\nPWD\r\n");
    // The page keeps its document type; each picture goes byte for byte
    // under the name its rewritten reference resolves to.
    EXPECT_EQ(server.receivedData(),
              kPublishedPage + readFile(pictures / "My Photo.png") + readFile(pictures / "b.png"));
    EXPECT_EQ(remote, "http://www.example.com/dir/page.htm");
    EXPECT_EQ(names, (std::vector<std::string>{"my%20photo.png", "b.png"}));
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[0].text, "Upload the file to your server ?");
    EXPECT_EQ(dialogs.shown()[1].proposed, "page.htm");
    EXPECT_THAT(statuses, ::testing::Contains(HasSubstr("Sending my photo.png (2 of 3)")));
}

TEST_F(UploadTest, ARenamedPageGoesUpUnderTheNewNameAndBecomesTheAddressShownAfterwards) {
    shown->document->html()->put_innerHTML("<body>plain</body>");
    Steps script = stored();
    append(script, pwd());
    connect(script);
    dialogs.queue(ui::Answer::Yes);
    dialogs.queue(std::string("other.htm"));

    EXPECT_EQ(makeUpload().run(), UploadOutcome::Published);

    EXPECT_EQ(sentAfterLogin(), "PORT *\r\nSTOR other.htm\r\nPWD\r\n");
    EXPECT_EQ(remote, "http://www.example.com/dir/other.htm");
    EXPECT_EQ(uri.document, "other.htm");
}

TEST_F(UploadTest, SendsNothingWhenDeclinedOrTheNameIsEmptied) {
    struct Case {
        const char* what;
        std::vector<ui::ScriptedDialogs::Reply> replies;
        UploadOutcome outcome;
    };
    for (const Case& c :
         {Case{"declined", {ui::Answer::No}, UploadOutcome::Declined},
          Case{"emptied name", {ui::Answer::Yes, std::string()}, UploadOutcome::Stopped}}) {
        SCOPED_TRACE(c.what);
        connect({});
        for (const auto& reply : c.replies)
            dialogs.queue(reply);
        EXPECT_EQ(makeUpload().run(), c.outcome);
        EXPECT_EQ(sentAfterLogin(), "");
    }
}

TEST_F(UploadTest, AStoreRefusedInTheMiddleStopsThereAndSaysWhatReachedTheServer) {
    Steps script = stored();
    append(script, pwd());
    append(script, {hear(), say("200 PORT ok\r\n"), hear(), say("553 Could not create file.\r\n")});
    connect(script);
    dialogs.queue(ui::Answer::Yes);

    try {
        makeUpload().run();
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Could not create file.");
    }
    EXPECT_EQ(sentAfterLogin(),
              "PORT *\r\nSTOR page.htm\r\nPWD\r\nPORT *\r\nSTOR my photo.png\r\n");
    EXPECT_EQ(statuses.back(),
              "Publishing stopped at my photo.png. On the server: page.htm. Not sent: 2 file(s).");
}

TEST_F(UploadTest, AMissingPictureIsFoundBeforeAnythingIsSent) {
    std::filesystem::remove(pictures / "b.png");
    connect({});
    dialogs.queue(ui::Answer::Yes);

    try {
        makeUpload().run();
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_THAT(e.what(), HasSubstr((pictures / "b.png").string()));
        EXPECT_THAT(e.what(), HasSubstr("Nothing was sent"));
    }
    EXPECT_EQ(sentAfterLogin(), "");
}

TEST_F(UploadTest, ASessionDroppedBeforeTheFirstStoreIsReconnectedThroughTheWizard) {
    connect({hangUp()});
    controlSeen = server.finish().size();
    int reconnects = 0;
    reconnect = [&] {
        ++reconnects;
        Steps script = greetingAndLogin();
        for (int i = 0; i < 3; ++i) {
            append(script, stored());
            append(script, pwd());
        }
        server.play(script);
        client.Connect();
    };
    dialogs.queue(ui::Answer::Yes);

    EXPECT_EQ(makeUpload().run(), UploadOutcome::Published);

    EXPECT_EQ(reconnects, 1);
    EXPECT_THAT(sentAfterLogin(), ::testing::StartsWith("PORT *\r\nSTOR page.htm\r\nPWD\r\n"));
}

TEST_F(UploadTest, ASessionThatCannotBeReconnectedStopsWithoutSendingOrAsking) {
    connect({hangUp()});
    server.finish();
    dialogs.queue(ui::Answer::Yes);

    EXPECT_EQ(makeUpload().run(), UploadOutcome::Stopped);
    // The wizard reports its own failure; the name was never asked for.
    EXPECT_EQ(dialogs.shown().size(), 1u);
}

TEST_F(UploadTest, CancelBetweenFilesSendsNoMoreAndSaysWhatReachedTheServer) {
    Steps script = stored();
    append(script, pwd());
    connect(script);
    dialogs.queue(ui::Answer::Yes);
    Upload upload = makeUpload();
    onStatusHook = [&](const std::string& text) {
        if (text.rfind("Sending my photo.png", 0) == 0)
            upload.cancel();
    };

    EXPECT_EQ(upload.run(), UploadOutcome::Cancelled);

    EXPECT_EQ(sentAfterLogin(), "PORT *\r\nSTOR page.htm\r\nPWD\r\n");
    EXPECT_EQ(statuses.back(),
              "Publishing cancelled. On the server: page.htm. Not sent: 2 file(s).");
    EXPECT_FALSE(upload.running());
}

TEST_F(UploadTest, CancelDuringAFileCutsItOffAndSaysSo) {
    // Large enough to take several pieces on the data connection.
    writeFile(pictures / "My Photo.png", std::string(2 * 1024 * 1024, 'x'));
    Steps script = stored();
    append(script, pwd());
    append(script, {hear(), say("200 PORT ok\r\n"), hear(), say("150 Ok to send data.\r\n"),
                    connectData(), receiveData()});
    connect(script);
    dialogs.queue(ui::Answer::Yes);
    Upload upload = makeUpload();
    onStatusHook = [&](const std::string& text) {
        if (text.rfind("Sending my photo.png", 0) == 0 &&
            text.find(": 0 bytes") == std::string::npos)
            upload.cancel();
    };

    EXPECT_EQ(upload.run(), UploadOutcome::Cancelled);

    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(statuses.back(), "Publishing cancelled. my photo.png was cut off. On the server: "
                               "page.htm. Not sent: 2 file(s).");
    server.finish();
    EXPECT_LT(server.receivedData().size(), std::string(kPublishedPage).size() + 2 * 1024 * 1024);
}

TEST_F(UploadTest, APageNotFromTheSiteIsOfferedForSavingOrReloaded) {
    remote.clear();
    dialogs.queue(ui::Answer::Yes);
    EXPECT_EQ(makeUpload().run(), UploadOutcome::OfferedSave);
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(shown->navigations.empty());

    dialogs.queue(ui::Answer::No);
    makeUpload().run();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(shown->navigations, std::vector<std::string>{"file:///cache/temp.htm"});
}

TEST(UploadRemoteName, IsTheNameTheReferenceResolvesToWhenThatIsSafe) {
    struct Case {
        const char* reference;
        const char* remote;
    };
    for (const Case& c : {
             Case{"photo.jpg", "photo.jpg"},
             Case{"my%20photo.jpg", "my photo.jpg"},
             Case{"%c3%a9t%c3%a9.png", "\xc3\xa9t\xc3\xa9.png"},
             Case{"100%.png", "100%.png"},
             Case{"a+b.png", "a+b.png"},
             // Escapes that would leave the folder or break the command stay.
             Case{"a%2fb.png", "a%2fb.png"},
             Case{"%2e%2e", "%2e%2e"},
             Case{"x%0d%0aDELE%20y", "x%0d%0aDELE%20y"},
             Case{"", ""},
         })
        EXPECT_EQ(Upload::remoteNameFor(c.reference), c.remote) << c.reference;
}

TEST(PublishedMarkup, KeepsTheDocumentTypeAndDeclaresTheUtf8ItIsWrittenIn) {
    struct Case {
        const char* doctype;
        const char* html;
        const char* written;
    };
    for (const Case& c : {
             Case{"<!DOCTYPE html>", "<html>\n<body>a</body></html>",
                  "<!DOCTYPE html>\r\n<html>\r\n<body>a</body></html>\r\n"},
             Case{"", "<html><body>a</body></html>", "<html><body>a</body></html>\r\n"},
             Case{"",
                  "<html><head><meta charset=\"ISO-8859-1\"></head><body>\xc3\xa9</body></html>",
                  "<html><head><meta charset=\"utf-8\"></head><body>\xc3\xa9</body></html>\r\n"},
             Case{"",
                  "<html><head><META http-equiv=\"Content-Type\" content=\"text/html; "
                  "charset=windows-1252\"></head></html>",
                  "<html><head><META http-equiv=\"Content-Type\" content=\"text/html; "
                  "charset=utf-8\"></head></html>\r\n"},
             Case{"", "<html><head><title>x</title></head><body>\xc3\xa9</body></html>",
                  "<html><head><meta charset=\"utf-8\"><title>x</title></head><body>\xc3\xa9</body>"
                  "</html>\r\n"},
         })
        EXPECT_EQ(documents::publishedMarkup(c.doctype, c.html), c.written) << c.html;
}

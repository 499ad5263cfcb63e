#pragma once

#include "platform/ui/Dialogs.h"
#include "publishing/ftp/TMainForm.h"
#include "support/FakeBrowser.h"

#include <string>
#include <vector>

// The band form as the FTP session form sees it, over the fake browser.
class FakeBandForm : public ftp::BandFormAccess {
public:
    std::vector<std::string> statuses;
    connections::UrlParts uri = connections::UrlParts::parse("http://www.example.com/dir/page.htm");
    std::string temp = "temp.htm";
    std::string remote;
    ComPtr<browser::fake::FakeBrowser> shown = browser::fake::FakeBrowser::create();

    FakeBandForm() {
        shown->locationURL = "http://www.example.com/dir/page.htm";
        // The browser moves on when sent somewhere, and loads for a while.
        shown->onNavigate = [this](const std::string& url) {
            shown->locationURL = url;
            shown->busyAnswers = {true, true, true};
        };
    }

    void setBandStatus(const std::string& text) override { statuses.push_back(text); }
    void trace(const std::string&) override {}
    IWebBrowser2* browser() override { return shown.get(); }
    const connections::UrlParts& pageUri() const override { return uri; }
    std::string tempPageName() const override { return temp; }
    void setTempPageName(const std::string& name) override { temp = name; }
    std::string remotePageURL() const override { return remote; }
    void setRemotePageURL(const std::string& url) override { remote = url; }
};

// What the wizard's failure exit does for the session: disconnect, then a
// "Warning" box with the text.
class FakeErrorRoutine : public ftp::ErrorRoutine {
public:
    explicit FakeErrorRoutine(ftp::TMainForm& form) : m_form(form) {}
    void error(const std::string& message) override {
        m_form.IdFTP1.Disconnect();
        ui::dialogs().message(message, "Warning", ui::Icon::Warning);
    }

private:
    ftp::TMainForm& m_form;
};

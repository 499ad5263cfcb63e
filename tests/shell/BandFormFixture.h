#pragma once

#include "connections/Tftpparameters.h"
#include "dialogs/wizard/Tformwizzard.h"
#include "forms/BandFormDescription.h"
#include "platform/places/Places.h"
#include "platform/window/Windows.h"
#include "shell/BandForm.h"
#include "shell/ProcessForms.h"
#include "support/FakeBrowser.h"
#include "support/ScriptedDialogs.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace fake = browser::fake;

// A band form on a fake browser, inside headless windows that stand for the
// host's frame, document view and page window.
class BandFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = win::CreateWindowObject({"IEFrame", "", nullptr, 800, 600});
        docView = win::CreateWindowObject({"Shell DocObject View", "", frame, 800, 400});
        server = win::CreateWindowObject({"Internet Explorer_Server", "", docView, 800, 400});
        barArea = win::CreateWindowObject({"BarArea", "", frame, 800, 200});
        browser = fake::FakeBrowser::create();
        browser->document = fake::FakeDocument::create();
        browser->locationURL = "file:///home/user/site/page.htm";
        form = std::make_unique<TBandForm>(barArea);
        form->setBrowser(ComPtr<IWebBrowser2>(browser.get()));
    }

    void TearDown() override {
        form.reset();
        shell::destroyProcessForms();
        if (win::IsWindow(frame))
            win::DestroyWindow(frame);
        win::TakeQuitRequest();
    }

    fake::FakeDocument& doc() { return *browser->document; }
    // The commands sent, without the ones the edit-mode switch sends itself.
    std::vector<fake::CommandCall> editCommands() {
        std::vector<fake::CommandCall> result;
        for (const auto& c : doc().commands)
            if (c.command != "LiveResize" && c.command != "2D-Position")
                result.push_back(c);
        return result;
    }
    // Browser events as the engine raises them; each answers the first
    // failure of the form's handlers.
    HRESULT beforeNavigate(const std::string& url) {
        browser->fireBeforeNavigate2(url);
        return browser->eventResult;
    }
    HRESULT documentComplete(const std::string& url) {
        browser->fireDocumentComplete(url);
        return browser->eventResult;
    }
    forms::Control& control(const std::string& name) { return (*form)[name]; }
    dialogs::Tformwizzard& wizard() { return *TBandForm::wizard(); }

    // The controls of the three toolbars that are enabled, separators aside.
    std::vector<std::string> enabledTools() {
        std::vector<std::string> names;
        for (const char* bar : forms::kBandToolbars)
            for (forms::Control* c : form->form().children(bar))
                if (c->kind() != forms::Kind::Separator && c->enabled())
                    names.push_back(c->name());
        return names;
    }
    std::vector<std::string> visibleTabs() {
        std::vector<std::string> names;
        for (forms::Control* page : form->form().children("PageControl1"))
            if (page->visible())
                names.push_back(page->caption());
        return names;
    }
    void saveConnection(const std::string& site) {
        wizard().store().lists().add({site, "ftp.example.org", "me", "secret", "/www"});
    }
    std::string workingCopyUrl() {
        return "file://" + places::withTrailingSlash(places::cacheFolder()) + "temp.htm";
    }

    TempHome home;
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped{dialogs};
    HWND frame = nullptr, docView = nullptr, server = nullptr, barArea = nullptr;
    ComPtr<fake::FakeBrowser> browser;
    std::unique_ptr<TBandForm> form;
};

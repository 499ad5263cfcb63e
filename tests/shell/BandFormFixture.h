#pragma once

#include "connections/Tftpparameters.h"
#include "connections/wizard/Tformwizzard.h"
#include "forms/BandFormDescription.h"
#include "platform/places/Places.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/window/Windows.h"
#include "shell/BandForm.h"
#include "shell/FakeBrowser.h"
#include "shell/ProcessForms.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

// A band form on a fake browser, inside headless windows that stand for the
// host's frame, document view and page window.
class BandFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = win::CreateWindowObject({"IEFrame", "", nullptr, 800, 600});
        docView = win::CreateWindowObject({"Shell DocObject View", "", frame, 800, 400});
        server = win::CreateWindowObject({"Internet Explorer_Server", "", docView, 800, 400});
        barArea = win::CreateWindowObject({"BarArea", "", frame, 800, 200});
        browser = ComPtr<fake::Browser>(new fake::Browser);
        browser->location = "file:///home/user/site/page.htm";
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

    fake::Document& doc() { return *browser->document; }
    forms::Control& control(const std::string& name) { return (*form)[name]; }
    connections::Tformwizzard& wizard() { return *TBandForm::wizard(); }

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
    ComPtr<fake::Browser> browser;
    std::unique_ptr<TBandForm> form;
};

#include "platform/window/Windows.h"
#include "platform/window/Application.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

HWND make(const char* className, HWND parent = nullptr) {
    return win::CreateWindowObject({className, "", parent, 10, 10});
}

} // namespace

TEST(Windows, FindByClassWalksTopLevelThenChildren) {
    HWND frame = make("IEFrame");
    HWND other = make("Other", frame);
    HWND view = make("Shell DocObject View", frame);
    HWND server = make("Internet Explorer_Server", view);
    EXPECT_EQ(win::FindWindow("IEFrame"), frame);
    EXPECT_EQ(win::FindWindow("Shell DocObject View"), nullptr); // not top-level
    EXPECT_EQ(win::FindWindowEx(frame, nullptr, "Shell DocObject View"), view);
    EXPECT_EQ(win::FindWindowEx(frame, other, ""), view);
    EXPECT_EQ(win::FindWindowEx(view, nullptr, "Internet Explorer_Server"), server);
    win::DestroyWindow(frame);
    EXPECT_FALSE(win::IsWindow(server));
    EXPECT_EQ(win::FindWindow("IEFrame"), nullptr);
}

TEST(Windows, HookedProcedureSeesMessagesThenChainsToTheSavedOne) {
    HWND window = make("Form");
    std::vector<std::string> calls;
    win::SetWindowProc(window, [&](HWND, UINT message, WPARAM, LPARAM) {
        calls.push_back("form " + std::to_string(message));
        return LRESULT(7);
    });
    win::WndProc saved = win::SetWindowProc(window, [&](HWND h, UINT m, WPARAM w, LPARAM l) {
        calls.push_back("hook " + std::to_string(m));
        return saved(h, m, w, l);
    });
    EXPECT_EQ(win::SendMessage(window, WM_PARENTNOTIFY, 0, 0), 7);
    EXPECT_EQ(calls, (std::vector<std::string>{"hook 528", "form 528"}));
    win::DestroyWindow(window);
}

TEST(Windows, PostedMessagesWaitForTheLoopAndQuitGoesToTheThread) {
    HWND window = make("Form");
    int seen = 0;
    win::SetWindowProc(window, [&](HWND, UINT, WPARAM, LPARAM) { return LRESULT(++seen); });
    EXPECT_TRUE(win::PostMessage(window, WM_CHAR, 0, 0));
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(win::ProcessPostedMessages(), 1);
    EXPECT_EQ(seen, 1);
    win::TakeQuitRequest();
    win::PostMessage(window, WM_QUIT, 0, 0);
    EXPECT_TRUE(win::TakeQuitRequest());
    win::DestroyWindow(window);
    EXPECT_FALSE(win::PostMessage(window, WM_CHAR, 0, 0));
}

TEST(Application, ErrorBoxFollowsThePeriodRuleAndTerminateCanBeRefused) {
    EXPECT_EQ(app::WithPeriod("Failed"), "Failed.");
    EXPECT_EQ(app::WithPeriod("Failed."), "Failed.");
    EXPECT_EQ(app::WithPeriod("Failed!"), "Failed!"); // '!' sorts before '.'
    EXPECT_EQ(app::WithPeriod(""), "");
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs installed(dialogs);
    app::RunHandler([] { throw std::runtime_error("Disk full"); });
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Disk full.");
    EXPECT_EQ(dialogs.shown()[0].caption, app::Title());
    EXPECT_EQ(dialogs.shown()[0].icon, ui::Icon::Error);

    win::TakeQuitRequest();
    bool allow = false;
    int id = app::AddTerminateProc([&] { return allow; });
    app::Terminate();
    EXPECT_FALSE(win::QuitRequested());
    allow = true;
    app::Terminate();
    EXPECT_TRUE(win::TakeQuitRequest());
    app::RemoveTerminateProc(id);
}

#include "Application.h"

#include <utility>
#include <vector>

#include "platform/ui/Dialogs.h"
#include "platform/window/Windows.h"

namespace app {

namespace {
struct State {
    std::string title = "Tavrisk";
    std::vector<std::pair<int, TerminateProc>> terminateProcs;
    int nextId = 1;
};
State& state() {
    static State s;
    return s;
}
} // namespace

std::string Title() {
    return state().title;
}
void SetTitle(const std::string& title) {
    state().title = title;
}

std::string WithPeriod(const std::string& text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        return text + '.';
    return text;
}

void ShowException(const std::exception& error) {
    ui::dialogs().message(WithPeriod(error.what()), Title(), ui::Icon::Error);
}

void RunHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

int AddTerminateProc(TerminateProc procedure) {
    int id = state().nextId++;
    state().terminateProcs.emplace_back(id, std::move(procedure));
    return id;
}

void RemoveTerminateProc(int id) {
    std::erase_if(state().terminateProcs, [id](const auto& entry) { return entry.first == id; });
}

void Terminate() {
    for (const auto& [id, procedure] : state().terminateProcs) {
        if (!procedure())
            return;
    }
    win::PostQuitMessage(0);
}

} // namespace app

#include "Dialogs.h"

#include <cstdio>

namespace ui {

namespace {

// Where no dialogs were installed (no display): messages go to the error
// stream, every question is answered by cancelling.
class HeadlessDialogs : public Dialogs {
public:
    void message(const std::string& text, const std::string& caption, Icon) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    Answer confirmYesNo(const std::string&, const std::string&) override { return Answer::No; }
    Answer confirmOkCancel(const std::string&, const std::string&) override {
        return Answer::Cancel;
    }
    std::string prompt(const std::string&, const std::string&,
                       const std::string& proposed) override {
        return proposed;
    }
    std::optional<std::string> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
};

Dialogs*& current() {
    static HeadlessDialogs fallback;
    static Dialogs* installed = &fallback;
    return installed;
}
} // namespace

Dialogs& dialogs() {
    return *current();
}

Dialogs* setDialogs(Dialogs* d) {
    Dialogs* previous = current();
    if (d)
        current() = d;
    return previous;
}

} // namespace ui

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ui {

enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Cancel, Yes, No };

struct FileFilter {
    std::string name;                  // "HTML files"
    std::vector<std::string> patterns; // "*.htm", "*.html"
};

struct FileDialogRequest {
    std::string title;
    std::string initialFolder;
    std::string proposedName;
    std::vector<FileFilter> filters;
    bool pictures = false; // show a preview of the chosen picture
};

// The dialogs the system shows. The program uses the GTK implementation;
// tests install scripted ones that answer from a queue and record what was
// asked.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A plain message box with an OK button.
    virtual void message(const std::string& text, const std::string& caption, Icon icon) = 0;
    // Yes/No; answers Yes or No.
    virtual Answer confirmYesNo(const std::string& text, const std::string& caption) = 0;
    // OK/Cancel; answers Ok or Cancel.
    virtual Answer confirmOkCancel(const std::string& text, const std::string& caption) = 0;
    // A text prompt. Cancelling answers the proposed value unchanged.
    virtual std::string prompt(const std::string& caption, const std::string& text,
                               const std::string& proposed) = 0;
    // File dialogs; nullopt when cancelled.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
};

// The dialogs in use by the process. Without a setter call, messages go to
// the error stream and every question is cancelled.
Dialogs& dialogs();
// Installs the dialogs to use; returns the previous ones. Not owned.
Dialogs* setDialogs(Dialogs* dialogs);

// Installs dialogs for the life of the object, then restores the previous ones.
class ScopedDialogs {
public:
    explicit ScopedDialogs(Dialogs& d) : m_previous(setDialogs(&d)) {}
    ~ScopedDialogs() { setDialogs(m_previous); }
    ScopedDialogs(const ScopedDialogs&) = delete;
    ScopedDialogs& operator=(const ScopedDialogs&) = delete;

private:
    Dialogs* m_previous;
};

} // namespace ui

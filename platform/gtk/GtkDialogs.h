#pragma once

#include "platform/ui/Dialogs.h"

namespace gtkplatform {

// The dialogs as GTK shows them, modal over the active window.
class GtkDialogs final : public ui::Dialogs {
public:
    void message(const std::string& text, const std::string& caption, ui::Icon icon) override;
    ui::Answer confirmYesNo(const std::string& text, const std::string& caption) override;
    ui::Answer confirmOkCancel(const std::string& text, const std::string& caption) override;
    std::string prompt(const std::string& caption, const std::string& text,
                       const std::string& proposed) override;
    std::optional<std::string> openFile(const ui::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const ui::FileDialogRequest& request) override;
};

} // namespace gtkplatform

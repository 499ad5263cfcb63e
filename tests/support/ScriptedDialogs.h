#pragma once

#include "platform/ui/Dialogs.h"

#include <deque>
#include <stdexcept>
#include <variant>

namespace ui {

// Answers from a queue and records every dialog, in order. With an empty
// queue, confirmations answer No/Cancel, prompts their proposed value and
// file dialogs "cancelled".
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Message, YesNo, OkCancel, Prompt, OpenFile, SaveFile };

    struct Shown {
        Kind kind;
        std::string text; // message text, prompt text or dialog title
        std::string caption;
        Icon icon = Icon::None;
        std::string proposed; // a prompt's proposed value
    };

    using Reply = std::variant<Answer, std::string, std::optional<std::string>>;

    void queue(Reply reply) { m_replies.push_back(std::move(reply)); }
    const std::vector<Shown>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }
    // The texts of the message boxes shown, in order.
    std::vector<std::string> messages() const;

    void message(const std::string& text, const std::string& caption, Icon icon) override;
    Answer confirmYesNo(const std::string& text, const std::string& caption) override;
    Answer confirmOkCancel(const std::string& text, const std::string& caption) override;
    std::string prompt(const std::string& caption, const std::string& text,
                       const std::string& proposed) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;

private:
    template <typename T> std::optional<T> next();

    std::deque<Reply> m_replies;
    std::vector<Shown> m_shown;
};

} // namespace ui

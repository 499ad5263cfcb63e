#include "support/ScriptedDialogs.h"

namespace ui {

template <typename T> std::optional<T> ScriptedDialogs::next() {
    if (m_replies.empty())
        return std::nullopt;
    Reply reply = std::move(m_replies.front());
    m_replies.pop_front();
    if (auto* value = std::get_if<T>(&reply))
        return *value;
    throw std::logic_error("ScriptedDialogs: the queued reply does not fit the dialog shown");
}

std::vector<std::string> ScriptedDialogs::messages() const {
    std::vector<std::string> texts;
    for (const auto& s : m_shown)
        if (s.kind == Kind::Message)
            texts.push_back(s.text);
    return texts;
}

void ScriptedDialogs::message(const std::string& text, const std::string& caption, Icon icon) {
    m_shown.push_back({Kind::Message, text, caption, icon, {}});
}

Answer ScriptedDialogs::confirmYesNo(const std::string& text, const std::string& caption) {
    m_shown.push_back({Kind::YesNo, text, caption, Icon::Question, {}});
    return next<Answer>().value_or(Answer::No);
}

Answer ScriptedDialogs::confirmOkCancel(const std::string& text, const std::string& caption) {
    m_shown.push_back({Kind::OkCancel, text, caption, Icon::Question, {}});
    return next<Answer>().value_or(Answer::Cancel);
}

std::string ScriptedDialogs::prompt(const std::string& caption, const std::string& text,
                                    const std::string& proposed) {
    m_shown.push_back({Kind::Prompt, text, caption, Icon::None, proposed});
    return next<std::string>().value_or(proposed);
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    m_shown.push_back({Kind::OpenFile, request.title, {}, Icon::None, {}});
    return next<std::optional<std::string>>().value_or(std::nullopt);
}

std::optional<std::string> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
    m_shown.push_back({Kind::SaveFile, request.title, {}, Icon::None, {}});
    return next<std::optional<std::string>>().value_or(std::nullopt);
}

} // namespace ui

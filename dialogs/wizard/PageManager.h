#pragma once

#include "forms/Form.h"

#include <functional>
#include <string>
#include <vector>

namespace dialogs {

// Turns the pages of a notebook with a next and a prior button. After each
// move it enables "next" exactly when a next page exists and "prior"
// exactly when a prior page exists; it tells onGetNextPage (current page,
// next page or -1) both when it enables the buttons and before a move to
// the next page. Setting a page directly bypasses it.
class PageManager {
public:
    PageManager(forms::Form& form, std::string notebook, std::string next, std::string prior);

    void next();
    void prior();
    // Enables the buttons for the page the notebook shows now.
    void enableButtons();
    int current() const;
    int count() const { return static_cast<int>(m_pages.size()); }

    std::function<void(int current, int next)> onGetNextPage;

private:
    void moveTo(int page);

    forms::Form& m_form;
    std::string m_notebook;
    std::string m_next;
    std::string m_prior;
    std::vector<std::string> m_pages;
};

} // namespace dialogs

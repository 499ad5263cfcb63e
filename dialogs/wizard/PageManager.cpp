#include "dialogs/wizard/PageManager.h"

namespace dialogs {

PageManager::PageManager(forms::Form& form, std::string notebook, std::string next,
                         std::string prior)
    : m_form(form), m_notebook(std::move(notebook)), m_next(std::move(next)),
      m_prior(std::move(prior)) {
    for (forms::Control* page : m_form.children(m_notebook))
        m_pages.push_back(page->name());
}

int PageManager::current() const {
    const std::string& shown = m_form[m_notebook].activePage();
    for (int i = 0; i < count(); ++i)
        if (m_pages[i] == shown)
            return i;
    return 0;
}

void PageManager::next() {
    int from = current();
    if (from + 1 >= count())
        return;
    if (onGetNextPage)
        onGetNextPage(from, from + 1);
    moveTo(from + 1);
}

void PageManager::prior() {
    int from = current();
    if (from == 0)
        return;
    moveTo(from - 1);
}

void PageManager::moveTo(int page) {
    m_form[m_notebook].setActivePage(m_pages[page]);
    enableButtons();
}

void PageManager::enableButtons() {
    int at = current();
    bool hasNext = at + 1 < count();
    m_form[m_next].setEnabled(hasNext);
    m_form[m_prior].setEnabled(at > 0);
    if (onGetNextPage)
        onGetNextPage(at, hasNext ? at + 1 : -1);
}

} // namespace dialogs

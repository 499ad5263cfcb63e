#include "dialogs/wizard/Tformwizzard.h"

#include "connections/TextOps.h"
#include "connections/Tftpparameters.h"
#include "forms/WizardDescription.h"
#include "forms/gtk/FormView.h"
#include "platform/browser/Dom.h"
#include "platform/ui/Dialogs.h"
#include "platform/window/Windows.h"

namespace dialogs {

Tformwizzard::Tformwizzard()
    : FormObject(forms::wizardDescription()), m_pages(form(), "Notebook1", "Netx", "Previous") {
    bindHandlers();
    siteedit().setText("http://");
    m_store.afterFormCreate();
    const forms::FormDesc& desc = form().desc();
    m_handle =
        win::CreateWindowObject({"Tformwizzard", desc.caption, nullptr, desc.width, desc.height});
    m_view = forms::gtkview::buildIfDisplayed(form(), m_handle);
}

Tformwizzard::~Tformwizzard() {
    try {
        m_store.beforeFormDestroy();
    } catch (const std::exception&) {
    }
    m_view.reset();
    if (win::IsWindow(m_handle))
        win::DestroyWindow(m_handle);
}

void Tformwizzard::bindHandlers() {
    forms::Form& f = form();
    m_pages.onGetNextPage = [this](int current, int next) {
        PageManager1GetNextPage(current, next);
    };
    f["Netx"].onClick = [this] { m_pages.next(); };
    f["Previous"].onClick = [this] { m_pages.prior(); };
    f["finished"].onClick = [this] { finishedClick(); };
    f["ftpserveredit"].onExit = [this] { ftpservereditExit(); };
    f["siteedit"].onExit = [this] { siteeditExit(); };
    f["Button3"].onClick = [this] { Close(); };
    f["Button4"].onClick = [this] { Close(); };
    f["ListBox1"].onClick = [this] { ListBox1MouseDown(); };
    f["ListBox1"].onDblClick = [this] { ListBox1DblClick(); };
    f["PageControl1"].onChange = [this] { PageControl1Change(); };
    f["Button1"].onClick = [this] { Button1Click(); };
    f["Button6"].onClick = [this] { Button6Click(); };
    f["Button8"].onClick = [this] { Button8Click(); };
    f["Button5"].onClick = [this] { Button5Click(); };
    f.onClose = [this] { Close(); };
}

void Tformwizzard::trace(const std::string& line) {
    form()["Memo1"].appendLine(line);
}

void Tformwizzard::init() {
    form()["PageControl1"].setActivePage("TabSheet1");
    form()["Notebook1"].setActivePage("page0");
    form()["Previous"].setEnabled(true);
    form()["Netx"].setEnabled(true);
    form()["finished"].setVisible(false);
}

void Tformwizzard::Show() {
    FormShow();
    FormObject::Show();
}

void Tformwizzard::FormShow() {
    m_editMode = false;
    form()["PageControl1"].setActivePage("TabSheet1");
    form()["Notebook1"].setActivePage("page0");
    form()["finished"].setVisible(false);
    form()["Netx"].setVisible(true);
    m_store.restore();
    reloadList();
    trace("RESTORE ! ! !");
}

void Tformwizzard::closeForm() {
    FormObject::Hide();
    m_store.afterFormCloseQuery(true);
}

void Tformwizzard::Close() {
    if (m_run.active && !m_run.calledOff) {
        m_run.calledOff = true;
        trace("run called off");
        if (FBandForm)
            FBandForm->disconnectFtp();
    }
    closeForm();
}

void Tformwizzard::PageManager1GetNextPage(int, int next) {
    form()["finished"].setVisible(next == m_pages.count() - 1);
}

void Tformwizzard::ftpservereditExit() {
    const std::string& server = ftpserveredit().text();
    auto scheme = connections::text::lowerCase(server).find("://");
    if (scheme != std::string::npos)
        ftpserveredit().setText(server.substr(scheme + 3));
}

void Tformwizzard::reloadList() {
    form()["ListBox1"].setItems(m_store.lists().ftpserver);
}

int Tformwizzard::selectedLine() const {
    return form()["ListBox1"].itemIndex();
}

void Tformwizzard::ListBox1MouseDown() {
    if (selectedLine() < 0)
        return;
    for (const char* button : {"Button1", "Button5", "Button6"})
        form()[button].setEnabled(true);
}

void Tformwizzard::PageControl1Change() {
    bool selected = selectedLine() >= 0;
    reloadList();
    if (selected)
        for (const char* button : {"Button1", "Button5", "Button6"})
            form()[button].setEnabled(true);
}

void Tformwizzard::Button1Click() {
    int line = selectedLine();
    if (line < 0)
        return;
    if (ui::dialogs().confirmOkCancel("Are you sure you want to delete the connection ?",
                                      "Warning") != ui::Answer::Ok)
        return;
    m_store.lists().equalize();
    m_store.lists().remove(static_cast<std::size_t>(line));
    m_store.save();
    reloadList();
}

void Tformwizzard::Button6Click() {
    int line = selectedLine();
    if (line < 0)
        return;
    m_editMode = true;
    m_editIndex = static_cast<std::size_t>(line);
    form()["finished"].setVisible(false);
    form()["Netx"].setEnabled(true);
    form()["Button8"].setVisible(true);
    form()["PageControl1"].setActivePage("TabSheet1");
    m_store.lists().equalize();
    connections::SiteConnection c = m_store.lists().at(m_editIndex);
    siteedit().setText(c.siteweb);
    ftpserveredit().setText(c.ftpserver);
    ftploginedit().setText(c.ftplogin);
    ftppasswordedit().setText(c.ftppassword);
    ftpinitialfolderedit().setText(c.ftpinitialfolder);
    form()["Notebook1"].setActivePage("page0");
}

connections::SiteConnection Tformwizzard::fields() {
    return {siteedit().text(), ftpserveredit().text(), ftploginedit().text(),
            ftppasswordedit().text(), ftpinitialfolderedit().text()};
}

void Tformwizzard::Button8Click() {
    connections::ConnectionLists& lists = m_store.lists();
    lists.equalize();
    trace("avant trouve");
    const std::string site = connections::text::lowerCase(siteedit().text());
    for (std::size_t i = 0; i < lists.count(); ++i) {
        if (connections::text::lowerCase(lists.siteweb[i]) != site)
            continue;
        trace("trouve");
        lists.set(i, fields());
        m_store.save();
        form()["Button8"].setVisible(false);
        m_store.restore();
        form()["PageControl1"].setActivePage("TabSheet2");
        return;
    }
}

void Tformwizzard::Button5Click() {
    int line = selectedLine();
    if (line < 0)
        return;
    m_store.lists().equalize();
    connections::SiteConnection c = m_store.lists().at(static_cast<std::size_t>(line));
    connections::Tftpparameters::current().assign(c);
    if (FBandForm && FBandForm->browser())
        browser::Browser(FBandForm->browser()).navigate(c.siteweb);
    closeForm();
}

} // namespace dialogs

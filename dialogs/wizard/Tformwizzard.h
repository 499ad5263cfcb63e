#pragma once

#include "connections/ConnectionStore.h"
#include "connections/UrlParts.h"
#include "dialogs/wizard/PageManager.h"
#include "dialogs/wizard/WizardBand.h"
#include "forms/FormObject.h"
#include "platform/com/Window.h"
#include "publishing/ftp/BandFormAccess.h"

#include <cstddef>
#include <memory>
#include <string>

namespace ftp {
class TMainForm;
}
namespace forms::gtkview {
class FormView;
}

namespace dialogs {

// The site wizard: the form on which the user creates, edits, deletes and
// picks site connections, and the connection test that joins the page the
// browser shows to the FTP account of its site. It owns the saved
// connections: restored when it is created and each time it is shown,
// saved at every change and when it closes. Shown modeless and on top;
// closing hides it.
class Tformwizzard : public forms::FormObject, public ftp::ErrorRoutine {
public:
    Tformwizzard();
    ~Tformwizzard() override;

    // ---- the connection test (used by the band form and the upload) ----
    // Finds the first saved site that address belongs to and makes it the
    // connection in use.
    bool connectionexiste(const std::string& address);
    connections::UrlParts traitep(const std::string& location) const {
        return connections::traitep(location);
    }
    // The page to open for an address: its document, or the default page
    // of the remote folder, or kNotFound.
    std::string recherchedefaultpage(const connections::UrlParts& address);
    // Tests the connection in the fields, saves it when it is new, finds
    // the page and opens it for editing.
    void finishedClick();
    // Ends edit mode, closes the FTP session and shows the message.
    void error(const std::string& message) override;
    bool calledOff() const override { return m_run.calledOff; }
    // True while finishedClick runs.
    bool running() const { return m_run.active; }

    static constexpr const char* kNotFound = "not found";

    // ---- the form ----
    // Back to the first page of "New connection", before fields are preset.
    void init();
    void Show() override;
    // The user closes the wizard (Cancel, the close box, Escape): it hides
    // and saves the connections. A connection test under way is called
    // off: the session is closed and the test adds nothing more.
    void Close();

    void FormShow();
    void PageManager1GetNextPage(int current, int next);
    void ftpservereditExit();
    void siteeditExit() {}
    void ListBox1MouseDown();
    void PageControl1Change();
    void Button1Click(); // Delete
    void Button6Click(); // Edit
    void Button8Click(); // Save
    void Button5Click(); // Use this connection
    void ListBox1DblClick() { Button5Click(); }

    forms::Control& siteedit() { return form()["siteedit"]; }
    forms::Control& ftpserveredit() { return form()["ftpserveredit"]; }
    forms::Control& ftploginedit() { return form()["ftploginedit"]; }
    forms::Control& ftppasswordedit() { return form()["ftppasswordedit"]; }
    forms::Control& ftpinitialfolderedit() { return form()["ftpinitialfolderedit"]; }
    PageManager& PageManager1() { return m_pages; }

    connections::ConnectionStore& store() { return m_store; }
    // The window and widgets that show the wizard; null without a display.
    HWND Handle() const { return m_handle; }
    forms::gtkview::FormView* view() const { return m_view.get(); }

    WizardBand* FBandForm = nullptr;
    ftp::TMainForm* FMainForm = nullptr;

private:
    // One run of finishedClick.
    struct Run {
        bool active = false;
        bool calledOff = false;
        std::string returnPage; // the notebook page to go back to after a failure
    };
    class RunScope;

    void bindHandlers();
    // Hides the wizard and saves the connections, as every close does.
    void closeForm();
    void trace(const std::string& line);
    void reloadList();
    // The index of the selected line of ListBox1, or -1.
    int selectedLine() const;
    connections::SiteConnection fields();
    void bandStatus(const std::string& text);
    bool runTest();
    bool connectToServer();
    bool knownSite(const std::string& key);
    bool openPage(const std::string& key, bool added);
    // Leaves edit mode and closes the session without a message, after
    // the user called the run off.
    void endCalledOff();

    connections::ConnectionStore m_store;
    PageManager m_pages;
    bool m_editMode = false;
    std::size_t m_editIndex = 0;
    Run m_run;
    HWND m_handle = nullptr;
    std::unique_ptr<forms::gtkview::FormView> m_view;
};

} // namespace dialogs

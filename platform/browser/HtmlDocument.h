#pragma once

// The document model and editor of the page a browser shows, in the shape
// the editing tools call it. Every method returns an HRESULT and never
// throws; a failure leaves its reason in browser::LastError(). A call on a
// document the browser has left, or on an element removed from its page,
// fails with E_FAIL and a message saying so.

#include "platform/browser/Value.h"
#include "platform/com/Interfaces.h"

#include <string>

struct IHTMLElement;

struct IHTMLElementCollection : IUnknown {
    TAVRISK_DECLARE_IID(0x3050F21F, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B)
    // The collection is live: it is evaluated again at each call.
    virtual HRESULT get_length(long* length) = 0;
    // *element is null when the index is out of range.
    virtual HRESULT item(long index, IHTMLElement** element) = 0;
    // The elements of this collection whose tag name matches, in any case.
    virtual HRESULT tags(const char* tagName, IHTMLElementCollection** collection) = 0;
};

struct IHTMLElement : IUnknown {
    TAVRISK_DECLARE_IID(0x3050F1FF, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B)
    // Upper case, as the original model reports it ("IMG", "TABLE").
    virtual HRESULT get_tagName(std::string* tagName) = 0;
    virtual HRESULT get_id(std::string* id) = 0;
    // Null when the attribute is absent. With flags 0, "href" and "src" read
    // as the page resolves them (an absolute address); with flags 2, as written.
    virtual HRESULT getAttribute(const char* name, long flags, browser::Value* value) = 0;
    // A null value removes the attribute; other values are written as text.
    virtual HRESULT setAttribute(const char* name, const browser::Value& value, long flags) = 0;
    virtual HRESULT removeAttribute(const char* name, BOOL* removed) = 0;
    // Null for the html element.
    virtual HRESULT get_parentElement(IHTMLElement** parent) = 0;
    virtual HRESULT get_outerHTML(std::string* html) = 0;
    virtual HRESULT get_innerHTML(std::string* html) = 0;
    virtual HRESULT put_innerHTML(const char* html) = 0;
    virtual HRESULT get_innerText(std::string* text) = 0;
    // Two handles may wrap the same node; this compares the nodes.
    virtual HRESULT isSameNode(IHTMLElement* other, BOOL* same) = 0;
};

// Answered (QueryInterface) by elements whose tag is "table".
struct IHTMLTable : IUnknown {
    TAVRISK_DECLARE_IID(0x3050F21E, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B)
    virtual HRESULT get_rows(IHTMLElementCollection** rows) = 0;
    // -1 appends; the new row is empty.
    virtual HRESULT insertRow(long index, IHTMLElement** row) = 0;
    virtual HRESULT deleteRow(long index) = 0;
};

// Answered by elements whose tag is "tr".
struct IHTMLTableRow : IUnknown {
    TAVRISK_DECLARE_IID(0x3050F23C, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B)
    virtual HRESULT get_cells(IHTMLElementCollection** cells) = 0;
    virtual HRESULT insertCell(long index, IHTMLElement** cell) = 0;
    virtual HRESULT deleteCell(long index) = 0;
};

// Answered by elements whose tag is "meta".
struct IHTMLMetaElement : IUnknown {
    TAVRISK_DECLARE_IID(0x3050F203, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B)
    virtual HRESULT get_name(std::string* name) = 0;
    virtual HRESULT put_name(const char* name) = 0;
    virtual HRESULT get_content(std::string* content) = 0;
    virtual HRESULT put_content(const char* content) = 0;
};

// A range over text (or the caret), from selection.createRange() when the
// selection is "None" or "Text".
struct IHTMLTxtRange : IUnknown {
    TAVRISK_DECLARE_IID(0x3050F220, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B)
    // The innermost element that holds the whole range.
    virtual HRESULT parentElement(IHTMLElement** parent) = 0;
    // Replaces the range's contents with the markup.
    virtual HRESULT pasteHTML(const char* html) = 0;
    virtual HRESULT get_text(std::string* text) = 0;
    virtual HRESULT get_htmlText(std::string* html) = 0;
};

// The selected objects, from selection.createRange() when the selection is
// "Control". It has no pasteHTML: asking for IHTMLTxtRange fails.
struct IHTMLControlRange : IUnknown {
    TAVRISK_DECLARE_IID(0x3050F29C, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B)
    virtual HRESULT commonParentElement(IHTMLElement** element) = 0;
    virtual HRESULT get_length(long* length) = 0;
    virtual HRESULT item(long index, IHTMLElement** element) = 0;
};

struct IHTMLSelectionObject : IUnknown {
    TAVRISK_DECLARE_IID(0x3050F25A, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B)
    // "None" (a caret or nothing), "Text" or "Control".
    virtual HRESULT get_type(std::string* type) = 0;
    // An IHTMLTxtRange or an IHTMLControlRange, by the selection's type.
    virtual HRESULT createRange(IUnknown** range) = 0;
};

// The event being dispatched to an attached sink (parentWindow.event).
struct IHTMLEventObj : IUnknown {
    TAVRISK_DECLARE_IID(0x3050F32D, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B)
    // "click", "mouseup", ...
    virtual HRESULT get_type(std::string* type) = 0;
    virtual HRESULT get_srcElement(IHTMLElement** element) = 0;
};

// The editor's command group of the document's command target.
inline constexpr GUID CGID_MSHTML{
    0xDE4BA900, 0x59CA, 0x11CF, {0x95, 0x92, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr DWORD IDM_SHOWZEROBORDERATDESIGNTIME = 2328;
inline constexpr DWORD IDM_EMPTYGLYPHTABLE = 2336;
inline constexpr DWORD IDM_ADDTOGLYPHTABLE = 2337;

struct IHTMLDocument2 : IUnknown {
    TAVRISK_DECLARE_IID(0x332C4425, 0x26CB, 0x11D0, 0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19)
    // "On" or "Off".
    virtual HRESULT get_designMode(std::string* mode) = 0;
    virtual HRESULT put_designMode(const char* mode) = 0;

    // Command names compare without regard to case. Besides the editing
    // commands: "2D-Position", "LiveResize", "AbsolutePosition" (true/false
    // on the selected object), "SaveAs" (value: a path; an empty value asks
    // for one) and "print".
    virtual HRESULT execCommand(const char* command, BOOL showUI, const browser::Value& value,
                                BOOL* done) = 0;
    // "Bold", "Italic", "Underline": booleans; "FontName": the face;
    // "FontSize": 1 to 7; "ForeColor", "BackColor": a number with red in the
    // low byte; null when the selection is mixed.
    virtual HRESULT queryCommandValue(const char* command, browser::Value* value) = 0;

    virtual HRESULT get_selection(IHTMLSelectionObject** selection) = 0;

    // event is "onclick", "onmouseup", ... in any case. The sink's Invoke
    // runs on the main thread for each such event, mouse-up before click.
    virtual HRESULT attachEvent(const char* event, IDispatch* sink, BOOL* attached) = 0;
    // The document's own handler property ("onclick"): replaces the earlier
    // sink of that property; null removes it.
    virtual HRESULT put_eventProperty(const char* event, IDispatch* sink) = 0;
    // parentWindow.event: the event being delivered to a sink, else null.
    virtual HRESULT get_parentWindowEvent(IHTMLEventObj** event) = 0;

    virtual HRESULT get_all(IHTMLElementCollection** all) = 0;
    virtual HRESULT get_body(IHTMLElement** body) = 0;
    virtual HRESULT get_activeElement(IHTMLElement** element) = 0;
    virtual HRESULT get_title(std::string* title) = 0;
    virtual HRESULT put_title(const char* title) = 0;
    // The body's bgcolor as written ("" when none).
    virtual HRESULT get_bgColor(std::string* color) = 0;
    virtual HRESULT put_bgColor(const char* color) = 0;
    virtual HRESULT get_URL(std::string* url) = 0;
    // The document type declaration as the page had it ("<!DOCTYPE html>"),
    // "" when it has none.
    virtual HRESULT get_doctype(std::string* doctype) = 0;

    // The document's command target (IOleCommandTarget::Exec with one
    // in/out value): with CGID_MSHTML, IDM_SHOWZEROBORDERATDESIGNTIME (bool),
    // IDM_EMPTYGLYPHTABLE and IDM_ADDTOGLYPHTABLE (an entry
    // "%%tag^^%%picture path^^%%0^^...**").
    virtual HRESULT Exec(const GUID* group, DWORD command, const browser::Value& in) = 0;
};

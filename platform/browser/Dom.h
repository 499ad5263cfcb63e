#pragma once

// The C++ layer over the browser and document interfaces for the logic:
// value objects that hold one interface each and throw BrowserError, with
// the reason the browser gave, when a call fails.

#include "platform/browser/HtmlDocument.h"
#include "platform/browser/Value.h"
#include "platform/browser/WebBrowser.h"

#include <stdexcept>
#include <string>

namespace browser {

class BrowserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws BrowserError with the recorded reason when hr is a failure.
void Check(HRESULT hr);
// Clears the recorded reason; the layer calls it before each call.
void BeginCall();

// What a late-bound call on an object without that method raises.
inline constexpr const char* kNoSuchMethod = "Object doesn't support this property or method";

class Collection;

class Element {
public:
    Element() = default;
    explicit Element(ComPtr<IHTMLElement> element) : m_element(std::move(element)) {}

    bool isNull() const { return !m_element; }
    explicit operator bool() const { return !isNull(); }
    IHTMLElement* get() const { return m_element.get(); }

    std::string tagName() const;
    std::string id() const;
    Value getAttribute(const std::string& name, long flags = 0) const;
    void setAttribute(const std::string& name, const Value& value, long flags = 0) const;
    bool removeAttribute(const std::string& name) const;
    // A null Element for the html element.
    Element parentElement() const;
    std::string outerHTML() const;
    std::string innerHTML() const;
    void setInnerHTML(const std::string& html) const;
    std::string innerText() const;
    bool sameNode(const Element& other) const;

    // Tables and rows; an element of another kind raises kNoSuchMethod.
    Collection rows() const;
    Element insertRow(long index) const;
    void deleteRow(long index) const;
    Collection cells() const;
    Element insertCell(long index) const;
    void deleteCell(long index) const;

    // Meta elements.
    std::string metaName() const;
    void setMetaName(const std::string& name) const;
    std::string metaContent() const;
    void setMetaContent(const std::string& content) const;

private:
    const ComPtr<IHTMLElement>& checked() const;
    template <typename T> ComPtr<T> as() const;

    ComPtr<IHTMLElement> m_element;
};

class Collection {
public:
    Collection() = default;
    explicit Collection(ComPtr<IHTMLElementCollection> c) : m_collection(std::move(c)) {}

    long length() const;
    // A null Element when index is out of range.
    Element item(long index) const;
    Collection tags(const std::string& tagName) const;

private:
    ComPtr<IHTMLElementCollection> m_collection;
};

// A text range or a control range; each kind raises kNoSuchMethod for the
// other kind's methods, as a late-bound call would.
class Range {
public:
    explicit Range(ComPtr<IUnknown> range);

    bool isControl() const { return static_cast<bool>(m_control); }
    bool isText() const { return static_cast<bool>(m_text); }

    Element parentElement() const;
    void pasteHTML(const std::string& html) const;
    std::string text() const;
    std::string htmlText() const;

    Element commonParentElement() const;
    long length() const;
    Element item(long index) const;

private:
    const ComPtr<IHTMLTxtRange>& text_() const;
    const ComPtr<IHTMLControlRange>& control_() const;

    ComPtr<IHTMLTxtRange> m_text;
    ComPtr<IHTMLControlRange> m_control;
};

class Selection {
public:
    explicit Selection(ComPtr<IHTMLSelectionObject> s) : m_selection(std::move(s)) {}
    std::string type() const;
    Range createRange() const;

private:
    ComPtr<IHTMLSelectionObject> m_selection;
};

class EventObject {
public:
    EventObject() = default;
    explicit EventObject(ComPtr<IHTMLEventObj> e) : m_event(std::move(e)) {}
    bool isNull() const { return !m_event; }
    std::string type() const;
    Element srcElement() const;

private:
    ComPtr<IHTMLEventObj> m_event;
};

class Document {
public:
    explicit Document(ComPtr<IHTMLDocument2> document);

    IHTMLDocument2* get() const { return m_document.get(); }

    std::string designMode() const;
    void setDesignMode(const std::string& mode) const;
    bool execCommand(const std::string& command, bool showUI, const Value& value = {}) const;
    Value queryCommandValue(const std::string& command) const;
    Selection selection() const;
    bool attachEvent(const std::string& event, IDispatch* sink) const;
    void setEventProperty(const std::string& event, IDispatch* sink) const;
    // A null EventObject outside event delivery.
    EventObject parentWindowEvent() const;
    Collection all() const;
    Element body() const;
    Element activeElement() const;
    std::string title() const;
    void setTitle(const std::string& title) const;
    std::string bgColor() const;
    void setBgColor(const std::string& color) const;
    std::string url() const;
    // "" when the page has no document type declaration.
    std::string doctype() const;
    // The command target with CGID_MSHTML.
    void exec(DWORD command, const Value& in) const;

private:
    ComPtr<IHTMLDocument2> m_document;
};

class Browser {
public:
    explicit Browser(ComPtr<IWebBrowser2> browser);

    IWebBrowser2* get() const { return m_browser.get(); }

    Document document() const;
    std::string locationURL() const;
    bool busy() const;
    void navigate(const std::string& url) const;
    void navigate2(const std::string& url) const;
    void stop() const;

private:
    ComPtr<IWebBrowser2> m_browser;
};

} // namespace browser

#include "platform/browser/Dom.h"

#include "platform/browser/ErrorInfo.h"

#include <cstdio>

namespace browser {

void BeginCall() {
    SetLastError("");
}

void Check(HRESULT hr) {
    if (SUCCEEDED(hr))
        return;
    std::string text = LastError();
    if (text.empty()) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "The browser call failed (error 0x%08X)",
                      static_cast<unsigned>(hr));
        text = buffer;
    }
    throw BrowserError(text);
}

namespace {

// Runs one interface call after clearing the recorded reason.
template <typename F> void call(F&& f) {
    BeginCall();
    Check(f());
}

template <typename T> ComPtr<T> adopt(T* p) {
    return ComPtr<T>::adopt(p);
}

} // namespace

// Element

const ComPtr<IHTMLElement>& Element::checked() const {
    if (!m_element)
        throw BrowserError("The element is empty (null)");
    return m_element;
}

template <typename T> ComPtr<T> Element::as() const {
    ComPtr<T> result = checked().template query<T>();
    if (!result)
        throw BrowserError(kNoSuchMethod);
    return result;
}

std::string Element::tagName() const {
    std::string s;
    call([&] { return checked()->get_tagName(&s); });
    return s;
}

std::string Element::id() const {
    std::string s;
    call([&] { return checked()->get_id(&s); });
    return s;
}

Value Element::getAttribute(const std::string& name, long flags) const {
    Value v;
    call([&] { return checked()->getAttribute(name.c_str(), flags, &v); });
    return v;
}

void Element::setAttribute(const std::string& name, const Value& value, long flags) const {
    call([&] { return checked()->setAttribute(name.c_str(), value, flags); });
}

bool Element::removeAttribute(const std::string& name) const {
    BOOL removed = FALSE;
    call([&] { return checked()->removeAttribute(name.c_str(), &removed); });
    return removed != FALSE;
}

Element Element::parentElement() const {
    IHTMLElement* parent = nullptr;
    call([&] { return checked()->get_parentElement(&parent); });
    return Element(adopt(parent));
}

std::string Element::outerHTML() const {
    std::string s;
    call([&] { return checked()->get_outerHTML(&s); });
    return s;
}

std::string Element::innerHTML() const {
    std::string s;
    call([&] { return checked()->get_innerHTML(&s); });
    return s;
}

void Element::setInnerHTML(const std::string& html) const {
    call([&] { return checked()->put_innerHTML(html.c_str()); });
}

std::string Element::innerText() const {
    std::string s;
    call([&] { return checked()->get_innerText(&s); });
    return s;
}

bool Element::sameNode(const Element& other) const {
    if (other.isNull())
        return false;
    BOOL same = FALSE;
    call([&] { return checked()->isSameNode(other.get(), &same); });
    return same != FALSE;
}

Collection Element::rows() const {
    auto table = as<IHTMLTable>();
    IHTMLElementCollection* c = nullptr;
    call([&] { return table->get_rows(&c); });
    return Collection(adopt(c));
}

Element Element::insertRow(long index) const {
    auto table = as<IHTMLTable>();
    IHTMLElement* row = nullptr;
    call([&] { return table->insertRow(index, &row); });
    return Element(adopt(row));
}

void Element::deleteRow(long index) const {
    auto table = as<IHTMLTable>();
    call([&] { return table->deleteRow(index); });
}

Collection Element::cells() const {
    auto row = as<IHTMLTableRow>();
    IHTMLElementCollection* c = nullptr;
    call([&] { return row->get_cells(&c); });
    return Collection(adopt(c));
}

Element Element::insertCell(long index) const {
    auto row = as<IHTMLTableRow>();
    IHTMLElement* cell = nullptr;
    call([&] { return row->insertCell(index, &cell); });
    return Element(adopt(cell));
}

void Element::deleteCell(long index) const {
    auto row = as<IHTMLTableRow>();
    call([&] { return row->deleteCell(index); });
}

std::string Element::metaName() const {
    auto meta = as<IHTMLMetaElement>();
    std::string s;
    call([&] { return meta->get_name(&s); });
    return s;
}

void Element::setMetaName(const std::string& name) const {
    auto meta = as<IHTMLMetaElement>();
    call([&] { return meta->put_name(name.c_str()); });
}

std::string Element::metaContent() const {
    auto meta = as<IHTMLMetaElement>();
    std::string s;
    call([&] { return meta->get_content(&s); });
    return s;
}

void Element::setMetaContent(const std::string& content) const {
    auto meta = as<IHTMLMetaElement>();
    call([&] { return meta->put_content(content.c_str()); });
}

// Collection

long Collection::length() const {
    long n = 0;
    call([&] { return m_collection->get_length(&n); });
    return n;
}

Element Collection::item(long index) const {
    IHTMLElement* e = nullptr;
    call([&] { return m_collection->item(index, &e); });
    return Element(adopt(e));
}

Collection Collection::tags(const std::string& tagName) const {
    IHTMLElementCollection* c = nullptr;
    call([&] { return m_collection->tags(tagName.c_str(), &c); });
    return Collection(adopt(c));
}

// Range

Range::Range(ComPtr<IUnknown> range)
    : m_text(range.query<IHTMLTxtRange>()), m_control(range.query<IHTMLControlRange>()) {
    if (!m_text && !m_control)
        throw BrowserError("The selection gave no range");
}

const ComPtr<IHTMLTxtRange>& Range::text_() const {
    if (!m_text)
        throw BrowserError(kNoSuchMethod);
    return m_text;
}

const ComPtr<IHTMLControlRange>& Range::control_() const {
    if (!m_control)
        throw BrowserError(kNoSuchMethod);
    return m_control;
}

Element Range::parentElement() const {
    IHTMLElement* e = nullptr;
    call([&] { return text_()->parentElement(&e); });
    return Element(adopt(e));
}

void Range::pasteHTML(const std::string& html) const {
    call([&] { return text_()->pasteHTML(html.c_str()); });
}

std::string Range::text() const {
    std::string s;
    call([&] { return text_()->get_text(&s); });
    return s;
}

std::string Range::htmlText() const {
    std::string s;
    call([&] { return text_()->get_htmlText(&s); });
    return s;
}

Element Range::commonParentElement() const {
    IHTMLElement* e = nullptr;
    call([&] { return control_()->commonParentElement(&e); });
    return Element(adopt(e));
}

long Range::length() const {
    long n = 0;
    call([&] { return control_()->get_length(&n); });
    return n;
}

Element Range::item(long index) const {
    IHTMLElement* e = nullptr;
    call([&] { return control_()->item(index, &e); });
    return Element(adopt(e));
}

// Selection and event

std::string Selection::type() const {
    std::string s;
    call([&] { return m_selection->get_type(&s); });
    return s;
}

Range Selection::createRange() const {
    IUnknown* r = nullptr;
    call([&] { return m_selection->createRange(&r); });
    return Range(adopt(r));
}

std::string EventObject::type() const {
    if (!m_event)
        throw BrowserError("No event is being delivered");
    std::string s;
    call([&] { return m_event->get_type(&s); });
    return s;
}

Element EventObject::srcElement() const {
    if (!m_event)
        throw BrowserError("No event is being delivered");
    IHTMLElement* e = nullptr;
    call([&] { return m_event->get_srcElement(&e); });
    return Element(adopt(e));
}

// Document

Document::Document(ComPtr<IHTMLDocument2> document) : m_document(std::move(document)) {
    if (!m_document)
        throw BrowserError("The browser shows no document");
}

std::string Document::designMode() const {
    std::string s;
    call([&] { return m_document->get_designMode(&s); });
    return s;
}

void Document::setDesignMode(const std::string& mode) const {
    call([&] { return m_document->put_designMode(mode.c_str()); });
}

bool Document::execCommand(const std::string& command, bool showUI, const Value& value) const {
    BOOL done = FALSE;
    call([&] { return m_document->execCommand(command.c_str(), showUI, value, &done); });
    return done != FALSE;
}

Value Document::queryCommandValue(const std::string& command) const {
    Value v;
    call([&] { return m_document->queryCommandValue(command.c_str(), &v); });
    return v;
}

Selection Document::selection() const {
    IHTMLSelectionObject* s = nullptr;
    call([&] { return m_document->get_selection(&s); });
    return Selection(adopt(s));
}

bool Document::attachEvent(const std::string& event, IDispatch* sink) const {
    BOOL attached = FALSE;
    call([&] { return m_document->attachEvent(event.c_str(), sink, &attached); });
    return attached != FALSE;
}

void Document::setEventProperty(const std::string& event, IDispatch* sink) const {
    call([&] { return m_document->put_eventProperty(event.c_str(), sink); });
}

EventObject Document::parentWindowEvent() const {
    IHTMLEventObj* e = nullptr;
    call([&] { return m_document->get_parentWindowEvent(&e); });
    return EventObject(adopt(e));
}

Collection Document::all() const {
    IHTMLElementCollection* c = nullptr;
    call([&] { return m_document->get_all(&c); });
    return Collection(adopt(c));
}

Element Document::body() const {
    IHTMLElement* e = nullptr;
    call([&] { return m_document->get_body(&e); });
    return Element(adopt(e));
}

Element Document::activeElement() const {
    IHTMLElement* e = nullptr;
    call([&] { return m_document->get_activeElement(&e); });
    return Element(adopt(e));
}

std::string Document::title() const {
    std::string s;
    call([&] { return m_document->get_title(&s); });
    return s;
}

void Document::setTitle(const std::string& title) const {
    call([&] { return m_document->put_title(title.c_str()); });
}

std::string Document::bgColor() const {
    std::string s;
    call([&] { return m_document->get_bgColor(&s); });
    return s;
}

void Document::setBgColor(const std::string& color) const {
    call([&] { return m_document->put_bgColor(color.c_str()); });
}

std::string Document::url() const {
    std::string s;
    call([&] { return m_document->get_URL(&s); });
    return s;
}

std::string Document::doctype() const {
    std::string s;
    call([&] { return m_document->get_doctype(&s); });
    return s;
}

void Document::exec(DWORD command, const Value& in) const {
    call([&] { return m_document->Exec(&CGID_MSHTML, command, in); });
}

// Browser

Browser::Browser(ComPtr<IWebBrowser2> browser) : m_browser(std::move(browser)) {
    if (!m_browser)
        throw BrowserError("There is no browser");
}

Document Browser::document() const {
    IHTMLDocument2* d = nullptr;
    call([&] { return m_browser->get_Document(&d); });
    return Document(adopt(d));
}

std::string Browser::locationURL() const {
    std::string s;
    call([&] { return m_browser->get_LocationURL(&s); });
    return s;
}

bool Browser::busy() const {
    BOOL busy = FALSE;
    call([&] { return m_browser->get_Busy(&busy); });
    return busy != FALSE;
}

void Browser::navigate(const std::string& url) const {
    call([&] { return m_browser->Navigate(url.c_str()); });
}

void Browser::navigate2(const std::string& url) const {
    call([&] { return m_browser->Navigate2(url.c_str()); });
}

void Browser::stop() const {
    call([&] { return m_browser->Stop(); });
}

} // namespace browser

#pragma once

// A browser and document for the band form's unit tests: it records what
// the form asks of it and answers as each test sets it up.

#include "platform/browser/ErrorInfo.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/browser/WebBrowser.h"
#include "platform/com/ComObject.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fake {

struct Command {
    std::string name;
    bool showUI = false;
    browser::Value value;
    bool operator==(const Command&) const = default;
};

struct Exec {
    DWORD command = 0;
    browser::Value value;
    bool operator==(const Exec&) const = default;
};

class Element : public com::ComObject<IHTMLElement> {
public:
    Element(std::string tag, ComPtr<IHTMLElement> parent,
            std::map<std::string, std::string> attributes = {})
        : m_tag(std::move(tag)), m_parent(std::move(parent)), m_attributes(std::move(attributes)) {}
    static ComPtr<IHTMLElement> make(std::string tag, ComPtr<IHTMLElement> parent,
                                     std::map<std::string, std::string> attributes = {}) {
        return ComPtr<IHTMLElement>(
            new Element(std::move(tag), std::move(parent), std::move(attributes)));
    }

    HRESULT get_tagName(std::string* t) override { return *t = m_tag, S_OK; }
    HRESULT get_id(std::string* id) override { return id->clear(), S_OK; }
    HRESULT getAttribute(const char* name, long, browser::Value* value) override {
        auto it = m_attributes.find(name);
        *value = it == m_attributes.end() ? browser::Value() : browser::Value(it->second);
        return S_OK;
    }
    HRESULT setAttribute(const char* name, const browser::Value& value, long) override {
        m_attributes[name] = value.toText();
        return S_OK;
    }
    HRESULT removeAttribute(const char* name, BOOL* removed) override {
        *removed = m_attributes.erase(name) ? TRUE : FALSE;
        return S_OK;
    }
    HRESULT get_parentElement(IHTMLElement** parent) override {
        *parent = m_parent.get();
        if (*parent)
            (*parent)->AddRef();
        return S_OK;
    }
    HRESULT get_outerHTML(std::string* html) override { return *html = "<" + m_tag + ">", S_OK; }
    HRESULT get_innerHTML(std::string* html) override { return html->clear(), S_OK; }
    HRESULT put_innerHTML(const char*) override { return S_OK; }
    HRESULT get_innerText(std::string* text) override { return text->clear(), S_OK; }
    HRESULT isSameNode(IHTMLElement* other, BOOL* same) override {
        *same = other == this ? TRUE : FALSE;
        return S_OK;
    }

private:
    std::string m_tag;
    ComPtr<IHTMLElement> m_parent;
    std::map<std::string, std::string> m_attributes;
};

class TextRange : public com::ComObject<IHTMLTxtRange> {
public:
    explicit TextRange(ComPtr<IHTMLElement> parent, std::vector<std::string>* pasted)
        : m_parent(std::move(parent)), m_pasted(pasted) {}
    HRESULT parentElement(IHTMLElement** parent) override {
        *parent = m_parent.get();
        if (*parent)
            (*parent)->AddRef();
        return S_OK;
    }
    HRESULT pasteHTML(const char* html) override { return m_pasted->push_back(html), S_OK; }
    HRESULT get_text(std::string* text) override { return text->clear(), S_OK; }
    HRESULT get_htmlText(std::string* html) override { return html->clear(), S_OK; }

private:
    ComPtr<IHTMLElement> m_parent;
    std::vector<std::string>* m_pasted;
};

class ControlRange : public com::ComObject<IHTMLControlRange> {
public:
    HRESULT commonParentElement(IHTMLElement** element) override {
        return *element = nullptr, S_OK;
    }
    HRESULT get_length(long* length) override { return *length = 0, S_OK; }
    HRESULT item(long, IHTMLElement** element) override { return *element = nullptr, S_OK; }
};

class Selection : public com::ComObject<IHTMLSelectionObject> {
public:
    std::string type = "None";
    ComPtr<IHTMLElement> caretParent;
    std::vector<std::string> pasted;

    HRESULT get_type(std::string* t) override { return *t = type, S_OK; }
    HRESULT createRange(IUnknown** range) override {
        IUnknown* made = type == "Control"
                             ? static_cast<IUnknown*>(new ControlRange)
                             : static_cast<IUnknown*>(new TextRange(caretParent, &pasted));
        made->AddRef();
        *range = made;
        return S_OK;
    }
};

class Document : public com::ComObject<IHTMLDocument2> {
public:
    std::string designMode = "Off";
    std::vector<Command> commands;
    std::vector<fake::Exec> execs;
    std::map<std::string, browser::Value> answers; // by lower-case command
    std::set<std::string> failingQueries;          // lower-case commands that fail
    std::set<std::string> failingCommands;         // lower-case commands that fail
    std::vector<std::pair<std::string, IDispatch*>> attached;
    ComPtr<Selection> selection{new Selection};

    static std::string lower(std::string t) {
        for (char& c : t)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return t;
    }
    // The commands sent, without the ones the edit-mode switch sends itself.
    std::vector<Command> editCommands() const {
        std::vector<Command> result;
        for (const auto& c : commands)
            if (c.name != "LiveResize" && c.name != "2D-Position")
                result.push_back(c);
        return result;
    }

    HRESULT get_designMode(std::string* mode) override { return *mode = designMode, S_OK; }
    HRESULT put_designMode(const char* mode) override { return designMode = mode, S_OK; }
    HRESULT execCommand(const char* command, BOOL showUI, const browser::Value& value,
                        BOOL* done) override {
        if (failingCommands.count(lower(command)))
            return browser::Fail("Invalid argument");
        commands.push_back({command, showUI != FALSE, value});
        *done = TRUE;
        return S_OK;
    }
    HRESULT queryCommandValue(const char* command, browser::Value* value) override {
        std::string key = lower(command);
        if (failingQueries.count(key))
            return browser::Fail("Unspecified error");
        auto it = answers.find(key);
        *value = it == answers.end() ? browser::Value() : it->second;
        return S_OK;
    }
    HRESULT get_selection(IHTMLSelectionObject** s) override {
        *s = selection.get();
        (*s)->AddRef();
        return S_OK;
    }
    HRESULT attachEvent(const char* event, IDispatch* sink, BOOL* ok) override {
        attached.emplace_back(event, sink);
        *ok = TRUE;
        return S_OK;
    }
    HRESULT put_eventProperty(const char*, IDispatch*) override { return S_OK; }
    HRESULT get_parentWindowEvent(IHTMLEventObj** event) override { return *event = nullptr, S_OK; }
    HRESULT get_all(IHTMLElementCollection** all) override { return *all = nullptr, E_NOTIMPL; }
    HRESULT get_body(IHTMLElement** body) override { return *body = nullptr, E_NOTIMPL; }
    HRESULT get_activeElement(IHTMLElement** e) override { return *e = nullptr, E_NOTIMPL; }
    HRESULT get_title(std::string* t) override { return t->clear(), S_OK; }
    HRESULT put_title(const char*) override { return S_OK; }
    HRESULT get_bgColor(std::string* c) override { return c->clear(), S_OK; }
    HRESULT put_bgColor(const char*) override { return S_OK; }
    HRESULT get_URL(std::string* url) override { return url->clear(), S_OK; }
    HRESULT Exec(const GUID* group, DWORD command, const browser::Value& in) override {
        if (!group || !(*group == CGID_MSHTML))
            return E_INVALIDARG;
        execs.push_back({command, in});
        return S_OK;
    }
};

class Browser : public com::ComObject<IWebBrowser2> {
public:
    std::string location;
    int busyReads = 0; // how many Busy reads still answer TRUE
    std::vector<std::string> navigations;
    ComPtr<Document> document{new Document};
    std::map<DWORD, ComPtr<DWebBrowserEvents2>> sinks;
    bool refuseAdvise = false;

    HRESULT get_Document(IHTMLDocument2** d) override {
        *d = document.get();
        if (*d)
            (*d)->AddRef();
        return S_OK;
    }
    HRESULT get_LocationURL(std::string* url) override { return *url = location, S_OK; }
    // Runs once, at the next Busy read: what arrives while a caller waits.
    std::function<void()> whileWaiting;

    HRESULT get_Busy(BOOL* busy) override {
        if (auto pending = std::exchange(whileWaiting, nullptr))
            pending();
        *busy = busyReads > 0 ? TRUE : FALSE;
        if (busyReads > 0)
            --busyReads;
        return S_OK;
    }
    HRESULT Navigate(const char* url) override { return navigations.push_back(url), S_OK; }
    HRESULT Navigate2(const char* url) override { return navigations.push_back(url), S_OK; }
    HRESULT Stop() override { return S_OK; }
    HRESULT Advise(DWebBrowserEvents2* sink, DWORD* cookie) override {
        if (refuseAdvise)
            return browser::Fail("No connection point");
        *cookie = m_next++;
        sinks[*cookie] = sink;
        return S_OK;
    }
    HRESULT Unadvise(DWORD cookie) override { return sinks.erase(cookie) ? S_OK : E_FAIL; }

    // Raises an event on every sink; answers the first failure.
    HRESULT beforeNavigate(const std::string& url) {
        return raise([&](DWebBrowserEvents2* s) {
            BOOL cancel = FALSE;
            return s->BeforeNavigate2(url.c_str(), "", &cancel);
        });
    }
    HRESULT documentComplete(const std::string& url) {
        return raise([&](DWebBrowserEvents2* s) { return s->DocumentComplete(url.c_str(), TRUE); });
    }

private:
    template <typename F> HRESULT raise(F f) {
        HRESULT result = S_OK;
        auto copy = sinks;
        for (auto& [cookie, sink] : copy) {
            HRESULT hr = f(sink.get());
            if (FAILED(hr) && SUCCEEDED(result))
                result = hr;
        }
        return result;
    }
    DWORD m_next = 1;
};

} // namespace fake

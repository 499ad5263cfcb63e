#include "platform/webkit/WebKitDocument.h"

#include "platform/browser/AttributeBatch.h"
#include "platform/browser/DocumentSnapshot.h"
#include "platform/browser/ErrorInfo.h"
#include "platform/webkit/Json.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace webkit {

namespace {

using browser::Value;
using Args = std::vector<std::string>;

template <typename I, typename T> HRESULT give(T* object, I** out) {
    I* p = object;
    p->AddRef();
    *out = p;
    return S_OK;
}

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

// What every object of a page shares: the browser and the page's token.
class PageLink {
public:
    PageLink(WebKitBrowser* browser, std::string token)
        : m_browser(browser), m_token(std::move(token)) {}

protected:
    HRESULT run(const char* op, const Args& args, Answer* answer = nullptr) {
        Answer ignored;
        return m_browser->call(op, m_token, args, answer ? answer : &ignored);
    }
    HRESULT text(const char* op, const Args& args, std::string* out) {
        if (!out)
            return E_POINTER;
        Answer a;
        HRESULT hr = run(op, args, &a);
        if (SUCCEEDED(hr))
            *out = a.value.toText();
        return hr;
    }
    HRESULT element(const char* op, const Args& args, IHTMLElement** out) {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        Answer a;
        HRESULT hr = run(op, args, &a);
        if (SUCCEEDED(hr))
            *out = MakeElement(m_browser.get(), m_token, a);
        return hr;
    }

    ComPtr<WebKitBrowser> m_browser;
    std::string m_token;
};

class Collection : public com::ComObject<IHTMLElementCollection>, PageLink {
public:
    Collection(WebKitBrowser* b, const std::string& token, std::string descriptor)
        : PageLink(b, token), m_descriptor(std::move(descriptor)) {}

    HRESULT get_length(long* length) override {
        if (!length)
            return E_POINTER;
        Answer a;
        HRESULT hr = run("length", {m_descriptor}, &a);
        if (SUCCEEDED(hr))
            *length = static_cast<long>(a.value.isNumber() ? a.value.asNumber() : 0);
        return hr;
    }
    HRESULT item(long index, IHTMLElement** element) override {
        return PageLink::element("item", {m_descriptor, json::number(index)}, element);
    }
    HRESULT tags(const char* tagName, IHTMLElementCollection** collection) override {
        if (!collection || !tagName)
            return E_POINTER;
        std::string d =
            "{\"k\":\"tags\",\"tag\":" + json::text(tagName) + ",\"of\":" + m_descriptor + "}";
        return give(new Collection(m_browser.get(), m_token, d), collection);
    }

private:
    std::string m_descriptor;
};

class Element : public com::ComObject<IHTMLElement, IHTMLTable, IHTMLTableRow, IHTMLMetaElement,
                                      IHTMLAttributeBatch>,
                PageLink {
public:
    Element(WebKitBrowser* b, const std::string& token, long id, std::string tag)
        : PageLink(b, token), m_id(json::number(id)), m_tag(upper(std::move(tag))) {}

    // A node's tag never changes: the one its handle brought answers without
    // a round trip into the page.
    HRESULT get_tagName(std::string* tagName) override {
        if (!tagName)
            return E_POINTER;
        if (m_tag.empty())
            return text("tagName", {m_id}, tagName);
        *tagName = m_tag;
        return S_OK;
    }
    HRESULT get_id(std::string* id) override { return text("id", {m_id}, id); }
    HRESULT getAttribute(const char* name, long flags, Value* value) override {
        if (!name || !value)
            return E_POINTER;
        Answer a;
        HRESULT hr = run("getAttribute", {m_id, json::text(name), json::number(flags)}, &a);
        if (SUCCEEDED(hr))
            *value = a.value;
        return hr;
    }
    HRESULT getAttributes(const std::vector<std::string>& names, long flags,
                          std::vector<Value>* values) override {
        if (!values)
            return E_POINTER;
        std::string list = "[";
        for (const std::string& name : names)
            list += (list.size() > 1 ? "," : "") + json::text(name);
        Answer a;
        HRESULT hr = run("getAttributes", {m_id, list + "]", json::number(flags)}, &a);
        if (FAILED(hr))
            return hr;
        if (!a.value.isText() || !json::readTexts(a.value.asText(), *values) ||
            values->size() != names.size())
            return E_FAIL;
        return S_OK;
    }
    HRESULT setAttribute(const char* name, const Value& value, long) override {
        if (!name)
            return E_POINTER;
        Value written = value.isNull() ? value : Value(value.toText());
        return run("setAttribute", {m_id, json::text(name), json::value(written)});
    }
    HRESULT removeAttribute(const char* name, BOOL* removed) override {
        if (!name)
            return E_POINTER;
        Answer a;
        HRESULT hr = run("removeAttribute", {m_id, json::text(name)}, &a);
        if (SUCCEEDED(hr) && removed)
            *removed = a.value.isBool() && a.value.asBool();
        return hr;
    }
    HRESULT get_parentElement(IHTMLElement** parent) override {
        return element("parent", {m_id}, parent);
    }
    HRESULT get_outerHTML(std::string* html) override { return text("outerHTML", {m_id}, html); }
    HRESULT get_innerHTML(std::string* html) override { return text("innerHTML", {m_id}, html); }
    HRESULT put_innerHTML(const char* html) override {
        return html ? run("setInnerHTML", {m_id, json::text(html)}) : E_POINTER;
    }
    HRESULT get_innerText(std::string* t) override { return text("innerText", {m_id}, t); }
    HRESULT isSameNode(IHTMLElement* other, BOOL* same) override {
        if (!other || !same)
            return E_POINTER;
        auto* mine = dynamic_cast<Element*>(other);
        if (!mine || mine->m_token != m_token) {
            *same = FALSE;
            return S_OK;
        }
        Answer a;
        HRESULT hr = run("same", {m_id, mine->m_id}, &a);
        if (SUCCEEDED(hr))
            *same = a.value.isBool() && a.value.asBool();
        return hr;
    }

    // IHTMLTable
    HRESULT get_rows(IHTMLElementCollection** rows) override { return collection("rows", rows); }
    HRESULT insertRow(long index, IHTMLElement** row) override {
        return element("insertRow", {m_id, json::number(index)}, row);
    }
    HRESULT deleteRow(long index) override { return run("deleteRow", {m_id, json::number(index)}); }

    // IHTMLTableRow
    HRESULT get_cells(IHTMLElementCollection** cells) override {
        return collection("cells", cells);
    }
    HRESULT insertCell(long index, IHTMLElement** cell) override {
        return element("insertCell", {m_id, json::number(index)}, cell);
    }
    HRESULT deleteCell(long index) override {
        return run("deleteCell", {m_id, json::number(index)});
    }

    // IHTMLMetaElement
    HRESULT get_name(std::string* name) override {
        return text("getAttribute", {m_id, json::text("name"), "2"}, name);
    }
    HRESULT put_name(const char* name) override {
        return name ? run("setAttribute", {m_id, json::text("name"), json::text(name)}) : E_POINTER;
    }
    HRESULT get_content(std::string* content) override {
        return text("getAttribute", {m_id, json::text("content"), "2"}, content);
    }
    HRESULT put_content(const char* content) override {
        return content ? run("setAttribute", {m_id, json::text("content"), json::text(content)})
                       : E_POINTER;
    }

protected:
    void* findInterface(REFIID riid) override {
        if ((riid == iidOf<IHTMLTable>() && m_tag != "TABLE") ||
            (riid == iidOf<IHTMLTableRow>() && m_tag != "TR") ||
            (riid == iidOf<IHTMLMetaElement>() && m_tag != "META"))
            return nullptr;
        return ComObject::findInterface(riid);
    }

private:
    HRESULT collection(const char* kind, IHTMLElementCollection** out) {
        if (!out)
            return E_POINTER;
        std::string d = std::string("{\"k\":\"") + kind + "\",\"el\":" + m_id + "}";
        return give(new Collection(m_browser.get(), m_token, d), out);
    }

    std::string m_id;
    std::string m_tag;
};

class TextRange : public com::ComObject<IHTMLTxtRange>, PageLink {
public:
    TextRange(WebKitBrowser* b, const std::string& token, long id)
        : PageLink(b, token), m_id(json::number(id)) {}
    HRESULT parentElement(IHTMLElement** parent) override {
        return element("rangeParent", {m_id}, parent);
    }
    HRESULT pasteHTML(const char* html) override {
        return html ? run("rangePaste", {m_id, json::text(html)}) : E_POINTER;
    }
    HRESULT get_text(std::string* t) override { return text("rangeText", {m_id}, t); }
    HRESULT get_htmlText(std::string* html) override { return text("rangeHtml", {m_id}, html); }

private:
    std::string m_id;
};

class ControlRange : public com::ComObject<IHTMLControlRange>, PageLink {
public:
    ControlRange(WebKitBrowser* b, const std::string& token, long id)
        : PageLink(b, token), m_id(json::number(id)) {}
    HRESULT commonParentElement(IHTMLElement** e) override { return item(0, e); }
    HRESULT get_length(long* length) override {
        if (!length)
            return E_POINTER;
        IHTMLElement* first = nullptr;
        HRESULT hr = item(0, &first);
        *length = first ? 1 : 0;
        if (first)
            first->Release();
        return hr;
    }
    HRESULT item(long index, IHTMLElement** e) override {
        return element("controlElement", {m_id, json::number(index)}, e);
    }

private:
    std::string m_id;
};

class Selection : public com::ComObject<IHTMLSelectionObject>, PageLink {
public:
    using PageLink::PageLink;
    HRESULT get_type(std::string* type) override { return text("selectionType", {}, type); }
    HRESULT createRange(IUnknown** range) override {
        if (!range)
            return E_POINTER;
        *range = nullptr;
        Answer a;
        HRESULT hr = run("createRange", {}, &a);
        if (FAILED(hr))
            return hr;
        if (a.rangeKind == "control")
            return give<IUnknown>(static_cast<IHTMLControlRange*>(
                                      new ControlRange(m_browser.get(), m_token, a.range)),
                                  range);
        return give<IUnknown>(
            static_cast<IHTMLTxtRange*>(new TextRange(m_browser.get(), m_token, a.range)), range);
    }
};

class Event : public com::ComObject<IHTMLEventObj>, PageLink {
public:
    Event(WebKitBrowser* b, const std::string& token, std::string type, Answer source)
        : PageLink(b, token), m_type(std::move(type)), m_source(std::move(source)) {}
    HRESULT get_type(std::string* type) override {
        if (!type)
            return E_POINTER;
        *type = m_type;
        return S_OK;
    }
    HRESULT get_srcElement(IHTMLElement** e) override {
        if (!e)
            return E_POINTER;
        *e = MakeElement(m_browser.get(), m_token, m_source);
        return S_OK;
    }

private:
    std::string m_type;
    Answer m_source;
};

bool equalsNoCase(const char* a, const char* b) {
    return strcasecmp(a, b) == 0;
}

// The selection's state as the page sent it (see "snapshot" in the editing
// layer).
HRESULT readSnapshot(WebKitBrowser* browser, const std::string& token, const Answer& sent,
                     browser::DocumentSnapshot* out) {
    auto field = [&](const char* name) -> const Answer& {
        static const Answer none;
        auto found = sent.fields.find(name);
        return found == sent.fields.end() ? none : found->second;
    };
    *out = {};
    out->selectionType = field("type").value.toText();
    const auto& chain = field("chain").items;
    const auto& hrefs = field("hrefs").items;
    for (size_t i = 0; i < chain.size(); ++i) {
        auto element = ComPtr<IHTMLElement>::adopt(MakeElement(browser, token, chain[i]));
        if (!element)
            break;
        out->ancestors.push_back(
            {element, upper(chain[i].tag), i < hrefs.size() ? hrefs[i].value : Value()});
    }
    for (const auto& [name, value] : field("values").fields)
        out->values[name] = value.value;
    for (const auto& [name, reason] : field("errors").fields)
        out->errors[name] = reason.value.toText();
    return S_OK;
}

bool answersAll(const Answer& sent, const std::vector<std::string>& commands) {
    auto values = sent.fields.find("values");
    auto errors = sent.fields.find("errors");
    for (const std::string& command : commands) {
        bool known = (values != sent.fields.end() && values->second.fields.count(command)) ||
                     (errors != sent.fields.end() && errors->second.fields.count(command));
        if (!known)
            return false;
    }
    return true;
}

class Document : public com::ComObject<IHTMLDocument2, IHTMLDocumentSnapshot>, PageLink {
public:
    using PageLink::PageLink;

    HRESULT takeSnapshot(const std::vector<std::string>& commands,
                         browser::DocumentSnapshot* snapshot) override {
        if (!snapshot)
            return E_POINTER;
        const Answer* sent = m_browser->eventSnapshot(m_token);
        if (sent && answersAll(*sent, commands))
            return readSnapshot(m_browser.get(), m_token, *sent, snapshot);
        std::string list = "[";
        for (size_t i = 0; i < commands.size(); ++i)
            list += (i ? "," : "") + json::text(commands[i]);
        Answer a;
        HRESULT hr = run("snapshot", {list + "]"}, &a);
        return FAILED(hr) ? hr : readSnapshot(m_browser.get(), m_token, a, snapshot);
    }
    HRESULT saveSelection() override { return run("saveSelection", {}); }
    HRESULT restoreSelection() override { return run("restoreSelection", {}); }

    HRESULT get_designMode(std::string* mode) override { return text("designMode", {}, mode); }
    HRESULT put_designMode(const char* mode) override {
        return mode ? run("setDesignMode", {json::text(mode)}) : E_POINTER;
    }
    HRESULT execCommand(const char* command, BOOL showUI, const Value& value, BOOL* done) override {
        if (!command)
            return E_POINTER;
        BOOL ignored = FALSE;
        done = done ? done : &ignored;
        if (equalsNoCase(command, "SaveAs"))
            return m_browser->saveAs(m_token, value.toText(), showUI, done);
        if (equalsNoCase(command, "print"))
            return m_browser->print(showUI, done);
        Answer a;
        HRESULT hr = run("exec", {json::text(command), json::value(value)}, &a);
        if (SUCCEEDED(hr))
            *done = a.value.isBool() && a.value.asBool();
        return hr;
    }
    HRESULT queryCommandValue(const char* command, Value* value) override {
        if (!command || !value)
            return E_POINTER;
        Answer a;
        HRESULT hr = run("query", {json::text(command)}, &a);
        if (SUCCEEDED(hr))
            *value = a.value;
        return hr;
    }
    HRESULT get_selection(IHTMLSelectionObject** selection) override {
        if (!selection)
            return E_POINTER;
        // Fails at once on a page the browser has left.
        HRESULT hr = run("token", {});
        if (FAILED(hr))
            return hr;
        return give(new Selection(m_browser.get(), m_token), selection);
    }
    HRESULT attachEvent(const char* event, IDispatch* sink, BOOL* attached) override {
        if (!event || !sink)
            return E_POINTER;
        long id = m_browser->addEventSink(sink);
        HRESULT hr = run("attach", {json::text(event), json::number(id)});
        if (attached)
            *attached = SUCCEEDED(hr);
        return hr;
    }
    HRESULT put_eventProperty(const char* event, IDispatch* sink) override {
        if (!event)
            return E_POINTER;
        long id = sink ? m_browser->addEventSink(sink) : 0;
        return run("setProperty", {json::text(event), json::number(id)});
    }
    HRESULT get_parentWindowEvent(IHTMLEventObj** event) override {
        if (!event)
            return E_POINTER;
        HRESULT hr = run("token", {});
        return FAILED(hr) ? hr : m_browser->currentEvent(event);
    }
    HRESULT get_all(IHTMLElementCollection** all) override {
        if (!all)
            return E_POINTER;
        HRESULT hr = run("token", {});
        return FAILED(hr) ? hr
                          : give(new Collection(m_browser.get(), m_token, "{\"k\":\"all\"}"), all);
    }
    HRESULT get_body(IHTMLElement** body) override { return element("body", {}, body); }
    HRESULT get_activeElement(IHTMLElement** e) override { return element("activeElement", {}, e); }
    HRESULT get_title(std::string* title) override { return text("title", {}, title); }
    HRESULT put_title(const char* title) override {
        return title ? run("setTitle", {json::text(title)}) : E_POINTER;
    }
    HRESULT get_bgColor(std::string* color) override { return text("bgColor", {}, color); }
    HRESULT put_bgColor(const char* color) override {
        return color ? run("setBgColor", {json::text(color)}) : E_POINTER;
    }
    HRESULT get_URL(std::string* url) override { return text("url", {}, url); }
    HRESULT Exec(const GUID* group, DWORD command, const Value& in) override;
};

constexpr HRESULT OLECMDERR_E_NOTSUPPORTED = static_cast<HRESULT>(0x80040100u);
constexpr HRESULT OLECMDERR_E_UNKNOWNGROUP = static_cast<HRESULT>(0x80040104u);

// "%%tag^^%%picture^^%%0^^..." : the fields between "%%" and "^^".
std::vector<std::string> glyphFields(const std::string& entry) {
    std::vector<std::string> fields;
    size_t at = 0;
    while ((at = entry.find("%%", at)) != std::string::npos) {
        size_t end = entry.find("^^", at + 2);
        if (end == std::string::npos)
            break;
        fields.push_back(entry.substr(at + 2, end - at - 2));
        at = end + 2;
    }
    return fields;
}

} // namespace

std::string GlyphPictureUrl(const std::string& path);

HRESULT Document::Exec(const GUID* group, DWORD command, const Value& in) {
    if (!group || !(*group == CGID_MSHTML))
        return browser::Fail("The command group is not known"), OLECMDERR_E_UNKNOWNGROUP;
    switch (command) {
    case IDM_SHOWZEROBORDERATDESIGNTIME:
        return run("zeroBorders", {json::value(in)});
    case IDM_EMPTYGLYPHTABLE:
        return run("emptyGlyphs", {});
    case IDM_ADDTOGLYPHTABLE: {
        auto fields = glyphFields(in.toText());
        if (fields.size() < 3)
            return browser::Fail("The glyph entry \"" + in.toText() + "\" is not well formed");
        bool closing = fields[2] == "1";
        return run("addGlyph", {json::text(fields[0]), json::text(GlyphPictureUrl(fields[1])),
                                closing ? "true" : "false"});
    }
    }
    browser::SetLastError("The editor command " + std::to_string(command) + " is not supported");
    return OLECMDERR_E_NOTSUPPORTED;
}

ComPtr<IHTMLDocument2> MakeDocument(WebKitBrowser* browser, const std::string& token) {
    return ComPtr<IHTMLDocument2>(new Document(browser, token));
}

IHTMLElement* MakeElement(WebKitBrowser* browser, const std::string& token, const Answer& answer) {
    if (answer.element == 0)
        return nullptr;
    IHTMLElement* e = new Element(browser, token, answer.element, answer.tag);
    e->AddRef();
    return e;
}

IHTMLEventObj* MakeEvent(WebKitBrowser* browser, const std::string& token, const std::string& type,
                         const Answer& source) {
    IHTMLEventObj* e = new Event(browser, token, type, source);
    e->AddRef();
    return e;
}

} // namespace webkit

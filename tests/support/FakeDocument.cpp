#include "support/FakeDocument.h"

#include "platform/browser/ErrorInfo.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace browser::fake {

namespace {

constexpr const char* kRemoved = "The element has been removed from the document";
constexpr const char* kLeft = "The document is no longer shown in the browser";
constexpr const char* kIndex = "The index is not in the allowed range.";

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

template <typename I> HRESULT give(I* p, I** out) {
    if (!out)
        return E_POINTER;
    if (p)
        p->AddRef();
    *out = p;
    return S_OK;
}

template <typename T> HRESULT giveText(const T& value, std::string* out) {
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

// A live list: evaluated again at each call.
class Collection : public com::ComObject<IHTMLElementCollection> {
public:
    using Producer = std::function<std::vector<FakeElement*>()>;
    Collection(Producer producer, const bool* detached)
        : m_producer(std::move(producer)), m_detached(detached) {}

    HRESULT get_length(long* length) override {
        if (*m_detached)
            return Fail(kLeft);
        *length = static_cast<long>(m_producer().size());
        return S_OK;
    }
    HRESULT item(long index, IHTMLElement** element) override {
        if (*m_detached)
            return Fail(kLeft);
        auto items = m_producer();
        FakeElement* e =
            index >= 0 && index < static_cast<long>(items.size()) ? items[index] : nullptr;
        return give<IHTMLElement>(e, element);
    }
    HRESULT tags(const char* tagName, IHTMLElementCollection** collection) override {
        std::string tag = lower(tagName ? tagName : "");
        Producer all = m_producer;
        auto* c = new Collection(
            [all, tag] {
                std::vector<FakeElement*> found;
                for (FakeElement* e : all())
                    if (e->tag() == tag)
                        found.push_back(e);
                return found;
            },
            m_detached);
        return give<IHTMLElementCollection>(c, collection);
    }

private:
    Producer m_producer;
    const bool* m_detached;
};

const bool kNeverDetached = false;

} // namespace

// FakeElement

FakeElement::FakeElement(std::string tag, std::vector<std::pair<std::string, Value>> attributes,
                         std::string text)
    : m_tag(lower(std::move(tag))), m_attributes(std::move(attributes)), m_text(std::move(text)) {}

ComPtr<FakeElement> FakeElement::create(const std::string& tag,
                                        std::vector<std::pair<std::string, Value>> attributes,
                                        std::string text) {
    return ComPtr<FakeElement>(new FakeElement(tag, std::move(attributes), std::move(text)));
}

FakeElement* FakeElement::append(ComPtr<FakeElement> child) {
    child->m_parent = this;
    child->m_detached = m_detached;
    m_children.push_back(child);
    return child.get();
}

FakeElement* FakeElement::append(const std::string& tag,
                                 std::vector<std::pair<std::string, Value>> attributes,
                                 std::string text) {
    return append(create(tag, std::move(attributes), std::move(text)));
}

void FakeElement::remove() {
    if (!m_parent)
        return;
    ComPtr<FakeElement> keep(this);
    auto& siblings = m_parent->m_children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
    m_parent = nullptr;
    m_removed = true;
}

bool FakeElement::connected() const {
    for (const FakeElement* e = this; e; e = e->m_parent)
        if (e->m_removed)
            return false;
    return true;
}

void FakeElement::collect(std::vector<FakeElement*>& out) {
    out.push_back(this);
    for (auto& child : m_children)
        child->collect(out);
}

HRESULT FakeElement::usable() const {
    if (m_detached && *m_detached)
        return Fail(kLeft);
    if (!connected())
        return Fail(kRemoved);
    return S_OK;
}

Value FakeElement::attribute(const std::string& name) const {
    for (auto& [key, value] : m_attributes)
        if (lower(key) == lower(name))
            return value;
    return Value();
}

HRESULT FakeElement::get_tagName(std::string* tagName) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : giveText(upper(m_tag), tagName);
}

HRESULT FakeElement::get_id(std::string* id) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : giveText(attribute("id").toText(), id);
}

HRESULT FakeElement::getAttribute(const char* name, long, Value* value) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    *value = attribute(name);
    return S_OK;
}

HRESULT FakeElement::setAttribute(const char* name, const Value& value, long) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    if (value.isNull()) {
        BOOL removed;
        return removeAttribute(name, &removed);
    }
    for (auto& [key, existing] : m_attributes) {
        if (lower(key) == lower(name)) {
            existing = Value(value.toText());
            return S_OK;
        }
    }
    m_attributes.emplace_back(name, Value(value.toText()));
    return S_OK;
}

HRESULT FakeElement::removeAttribute(const char* name, BOOL* removed) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    auto before = m_attributes.size();
    std::erase_if(m_attributes, [&](auto& a) { return lower(a.first) == lower(name); });
    if (removed)
        *removed = m_attributes.size() != before;
    return S_OK;
}

HRESULT FakeElement::get_parentElement(IHTMLElement** parent) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : give<IHTMLElement>(m_parent, parent);
}

std::string FakeElement::inner() const {
    if (m_hasInnerOverride)
        return m_innerOverride;
    std::string html = m_text;
    for (auto& child : m_children) {
        std::string outer;
        child->get_outerHTML(&outer);
        html += outer;
    }
    return html;
}

HRESULT FakeElement::get_outerHTML(std::string* html) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    std::string text = "<" + m_tag;
    for (auto& [key, value] : m_attributes)
        text += " " + key + "=\"" + value.toText() + "\"";
    text += ">";
    static const char* empty[] = {"br", "img", "hr", "meta", "input", "link"};
    if (std::find(std::begin(empty), std::end(empty), m_tag) == std::end(empty))
        text += inner() + "</" + m_tag + ">";
    *html = text;
    return S_OK;
}

HRESULT FakeElement::get_innerHTML(std::string* html) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : giveText(inner(), html);
}

HRESULT FakeElement::put_innerHTML(const char* html) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    m_innerOverride = html;
    m_hasInnerOverride = true;
    return S_OK;
}

HRESULT FakeElement::get_innerText(std::string* text) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    std::string t = m_text;
    for (auto& child : m_children) {
        std::string c;
        child->get_innerText(&c);
        t += c;
    }
    *text = t;
    return S_OK;
}

HRESULT FakeElement::isSameNode(IHTMLElement* other, BOOL* same) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    *same = other == static_cast<IHTMLElement*>(this);
    return S_OK;
}

std::vector<FakeElement*> FakeElement::childrenTagged(const char* a, const char* b) const {
    std::vector<FakeElement*> found;
    for (auto& child : m_children) {
        if (child->m_tag == a || (b && child->m_tag == b))
            found.push_back(child.get());
        else if (child->m_tag == "tbody" || child->m_tag == "thead" || child->m_tag == "tfoot")
            for (FakeElement* inner : child->childrenTagged(a, b))
                found.push_back(inner);
    }
    return found;
}

HRESULT FakeElement::get_rows(IHTMLElementCollection** rows) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    ComPtr<FakeElement> self(this);
    auto* c = new Collection([self] { return self->childrenTagged("tr"); },
                             m_detached ? m_detached : &kNeverDetached);
    return give<IHTMLElementCollection>(c, rows);
}

HRESULT FakeElement::insertChild(const char* tag, long index, const char* a, const char* b,
                                 IHTMLElement** out) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    auto existing = childrenTagged(a, b);
    long count = static_cast<long>(existing.size());
    if (index < -1 || index > count)
        return Fail(kIndex);
    ComPtr<FakeElement> child = create(tag);
    FakeElement* container = this;
    auto position = m_children.end();
    if (index != -1 && index < count) {
        container = existing[index]->m_parent;
        position = std::find(container->m_children.begin(), container->m_children.end(),
                             ComPtr<FakeElement>(existing[index]));
    } else if (count > 0) {
        container = existing.back()->m_parent;
        position = container->m_children.end();
    }
    child->m_parent = container;
    child->m_detached = m_detached;
    container->m_children.insert(position, child);
    return out ? give<IHTMLElement>(child.get(), out) : S_OK;
}

HRESULT FakeElement::deleteChild(long index, const char* a, const char* b) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    auto existing = childrenTagged(a, b);
    if (index == -1)
        index = static_cast<long>(existing.size()) - 1;
    if (index < 0 || index >= static_cast<long>(existing.size()))
        return Fail(kIndex);
    existing[index]->remove();
    return S_OK;
}

HRESULT FakeElement::insertRow(long index, IHTMLElement** row) {
    return insertChild("tr", index, "tr", nullptr, row);
}

HRESULT FakeElement::deleteRow(long index) {
    return deleteChild(index, "tr", nullptr);
}

HRESULT FakeElement::get_cells(IHTMLElementCollection** cells) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    ComPtr<FakeElement> self(this);
    auto* c = new Collection([self] { return self->childrenTagged("td", "th"); },
                             m_detached ? m_detached : &kNeverDetached);
    return give<IHTMLElementCollection>(c, cells);
}

HRESULT FakeElement::insertCell(long index, IHTMLElement** cell) {
    return insertChild("td", index, "td", "th", cell);
}

HRESULT FakeElement::deleteCell(long index) {
    return deleteChild(index, "td", "th");
}

HRESULT FakeElement::get_name(std::string* name) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : giveText(attribute("name").toText(), name);
}

HRESULT FakeElement::put_name(const char* name) {
    return setAttribute("name", name, 0);
}

HRESULT FakeElement::get_content(std::string* content) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : giveText(attribute("content").toText(), content);
}

HRESULT FakeElement::put_content(const char* content) {
    return setAttribute("content", content, 0);
}

void* FakeElement::findInterface(REFIID riid) {
    if ((riid == iidOf<IHTMLTable>() && m_tag != "table") ||
        (riid == iidOf<IHTMLTableRow>() && m_tag != "tr") ||
        (riid == iidOf<IHTMLMetaElement>() && m_tag != "meta"))
        return nullptr;
    return ComObject::findInterface(riid);
}

// Selection, ranges and events

namespace {

class TextRange : public com::ComObject<IHTMLTxtRange> {
public:
    explicit TextRange(FakeDocument* doc) : m_doc(doc), m_parent(doc->selected()) {}
    HRESULT parentElement(IHTMLElement** parent) override {
        HRESULT hr = m_doc->usable();
        return FAILED(hr) ? hr : give<IHTMLElement>(m_parent.get(), parent);
    }
    HRESULT pasteHTML(const char* html) override {
        HRESULT hr = m_doc->usable();
        if (FAILED(hr))
            return hr;
        m_doc->recordPaste(html);
        return S_OK;
    }
    HRESULT get_text(std::string* text) override {
        HRESULT hr = m_doc->usable();
        return FAILED(hr) || !m_parent ? hr : m_parent->get_innerText(text);
    }
    HRESULT get_htmlText(std::string* html) override {
        HRESULT hr = m_doc->usable();
        return FAILED(hr) || !m_parent ? hr : m_parent->get_innerHTML(html);
    }

private:
    ComPtr<FakeDocument> m_doc;
    ComPtr<FakeElement> m_parent;
};

class ControlRange : public com::ComObject<IHTMLControlRange> {
public:
    explicit ControlRange(FakeDocument* doc) : m_doc(doc), m_element(doc->selected()) {}
    HRESULT commonParentElement(IHTMLElement** element) override { return item(0, element); }
    HRESULT get_length(long* length) override {
        *length = m_element ? 1 : 0;
        return m_doc->usable();
    }
    HRESULT item(long index, IHTMLElement** element) override {
        HRESULT hr = m_doc->usable();
        return FAILED(hr) ? hr
                          : give<IHTMLElement>(index == 0 ? m_element.get() : nullptr, element);
    }

private:
    ComPtr<FakeDocument> m_doc;
    ComPtr<FakeElement> m_element;
};

class Selection : public com::ComObject<IHTMLSelectionObject> {
public:
    explicit Selection(FakeDocument* doc) : m_doc(doc) {}
    HRESULT get_type(std::string* type) override {
        HRESULT hr = m_doc->usable();
        return FAILED(hr) ? hr : giveText(m_doc->selectionType(), type);
    }
    HRESULT createRange(IUnknown** range) override {
        HRESULT hr = m_doc->usable();
        if (FAILED(hr))
            return hr;
        if (m_doc->selectionType() == "Control")
            return give<IUnknown>(static_cast<IHTMLControlRange*>(new ControlRange(m_doc.get())),
                                  range);
        return give<IUnknown>(static_cast<IHTMLTxtRange*>(new TextRange(m_doc.get())), range);
    }

private:
    ComPtr<FakeDocument> m_doc;
};

class Event : public com::ComObject<IHTMLEventObj> {
public:
    Event(std::string type, FakeElement* src) : m_type(std::move(type)), m_src(src) {}
    HRESULT get_type(std::string* type) override { return giveText(m_type, type); }
    HRESULT get_srcElement(IHTMLElement** e) override { return give<IHTMLElement>(m_src.get(), e); }

private:
    std::string m_type;
    ComPtr<FakeElement> m_src;
};

std::string eventType(const char* name) {
    std::string type = lower(name ? name : "");
    return type.rfind("on", 0) == 0 ? type.substr(2) : type;
}

} // namespace

// FakeDocument

FakeDocument::FakeDocument() : m_html(FakeElement::create("html")) {
    m_html->setOwner(&m_detached);
    m_head = m_html->append("head");
    m_body = m_html->append("body");
}

ComPtr<FakeDocument> FakeDocument::create() {
    return ComPtr<FakeDocument>(new FakeDocument());
}

void FakeDocument::selectText(FakeElement* parent, bool nonEmpty) {
    m_selectionType = nonEmpty ? "Text" : "None";
    m_selected = parent;
}

void FakeDocument::selectControl(FakeElement* element) {
    m_selectionType = "Control";
    m_selected = element;
}

HRESULT FakeDocument::usable() const {
    return m_detached ? Fail(kLeft) : S_OK;
}

void FakeDocument::fire(const std::string& type, FakeElement* srcElement) {
    ComPtr<FakeDocument> keep(this);
    m_events.emplace_back(type, ComPtr<FakeElement>(srcElement));
    std::vector<ComPtr<IDispatch>> sinks;
    for (auto& [t, sink] : m_sinks)
        if (t == type)
            sinks.push_back(sink);
    if (auto p = m_properties.find(type); p != m_properties.end())
        sinks.push_back(p->second);
    for (auto& sink : sinks)
        sink->Invoke(0, IUnknown::iid(), 0, 1, nullptr, nullptr, nullptr, nullptr);
    m_events.pop_back();
}

size_t FakeDocument::sinkCount(const std::string& type) const {
    return std::count_if(m_sinks.begin(), m_sinks.end(), [&](auto& s) { return s.first == type; });
}

HRESULT FakeDocument::get_designMode(std::string* mode) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : giveText(designMode, mode);
}

HRESULT FakeDocument::put_designMode(const char* mode) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    designModeWrites.push_back(mode);
    designMode = lower(mode) == "on" ? "On" : "Off";
    return S_OK;
}

HRESULT FakeDocument::execCommand(const char* command, BOOL showUI, const Value& value,
                                  BOOL* done) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    commands.push_back({command, showUI != FALSE, value});
    if (auto f = failingCommands.find(lower(command)); f != failingCommands.end())
        return Fail(f->second);
    if (done)
        *done = TRUE;
    return S_OK;
}

HRESULT FakeDocument::queryCommandValue(const char* command, Value* value) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    if (auto f = failingCommands.find(lower(command)); f != failingCommands.end())
        return Fail(f->second);
    auto found = commandValues.find(lower(command));
    *value = found == commandValues.end() ? Value() : found->second;
    return S_OK;
}

HRESULT FakeDocument::takeSnapshot(const std::vector<std::string>& asked,
                                   DocumentSnapshot* snapshot) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    *snapshot = {};
    snapshot->selectionType = m_selectionType;
    for (FakeElement* e = m_selected; e; e = e->parent())
        snapshot->ancestors.push_back(
            {ComPtr<IHTMLElement>(e), upper(e->tag()), e->attribute("href")});
    for (const std::string& command : asked) {
        if (auto f = failingCommands.find(lower(command)); f != failingCommands.end())
            snapshot->errors[command] = f->second;
        else if (auto v = commandValues.find(lower(command)); v != commandValues.end())
            snapshot->values[command] = v->second;
        else
            snapshot->values[command] = Value();
    }
    return S_OK;
}

HRESULT FakeDocument::saveSelection() {
    HRESULT hr = usable();
    if (SUCCEEDED(hr))
        m_savedSelection = {m_selectionType, m_selected};
    return hr;
}

HRESULT FakeDocument::restoreSelection() {
    HRESULT hr = usable();
    if (SUCCEEDED(hr) && m_savedSelection)
        std::tie(m_selectionType, m_selected) = *m_savedSelection;
    return hr;
}

HRESULT FakeDocument::get_selection(IHTMLSelectionObject** selection) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : give<IHTMLSelectionObject>(new Selection(this), selection);
}

HRESULT FakeDocument::attachEvent(const char* event, IDispatch* sink, BOOL* attached) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    m_sinks.emplace_back(eventType(event), ComPtr<IDispatch>(sink));
    this->attached.emplace_back(event ? event : "", sink);
    if (attached)
        *attached = TRUE;
    return S_OK;
}

HRESULT FakeDocument::put_eventProperty(const char* event, IDispatch* sink) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    if (sink)
        m_properties[eventType(event)] = ComPtr<IDispatch>(sink);
    else
        m_properties.erase(eventType(event));
    return S_OK;
}

HRESULT FakeDocument::get_parentWindowEvent(IHTMLEventObj** event) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    if (m_events.empty())
        return give<IHTMLEventObj>(nullptr, event);
    return give<IHTMLEventObj>(new Event(m_events.back().first, m_events.back().second.get()),
                               event);
}

HRESULT FakeDocument::get_all(IHTMLElementCollection** all) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    ComPtr<FakeElement> root = m_html;
    auto* c = new Collection(
        [root] {
            std::vector<FakeElement*> found;
            root->collect(found);
            return found;
        },
        &m_detached);
    return give<IHTMLElementCollection>(c, all);
}

HRESULT FakeDocument::get_body(IHTMLElement** body) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : give<IHTMLElement>(m_body, body);
}

HRESULT FakeDocument::get_activeElement(IHTMLElement** element) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : give<IHTMLElement>(activeElement ? activeElement : m_body, element);
}

HRESULT FakeDocument::get_title(std::string* t) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : giveText(title, t);
}

HRESULT FakeDocument::put_title(const char* t) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    title = t;
    return S_OK;
}

HRESULT FakeDocument::get_bgColor(std::string* color) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : giveText(m_body->attribute("bgcolor").toText(), color);
}

HRESULT FakeDocument::put_bgColor(const char* color) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    return m_body->setAttribute("bgcolor", *color ? Value(color) : Value(), 0);
}

HRESULT FakeDocument::get_URL(std::string* u) {
    HRESULT hr = usable();
    return FAILED(hr) ? hr : giveText(url, u);
}

HRESULT FakeDocument::Exec(const GUID* group, DWORD command, const Value& in) {
    HRESULT hr = usable();
    if (FAILED(hr))
        return hr;
    if (!group || !(*group == CGID_MSHTML))
        return Fail("The command group is not known");
    execs.push_back({command, in});
    return S_OK;
}

} // namespace browser::fake

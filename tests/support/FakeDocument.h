#pragma once

// A scriptable document for unit tests of the logic: a small element tree
// the test builds, a selection it sets, and a record of every editing call.
// Calls fail with the engine's messages where the real one would: on a
// removed element, on a document the browser has left, on a control range's
// pasteHTML, or where the test says so. Attributes read as they were set:
// the fake resolves no addresses.

#include "platform/browser/DocumentSnapshot.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/com/ComObject.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace browser::fake {

class FakeElement
    : public com::ComObject<IHTMLElement, IHTMLTable, IHTMLTableRow, IHTMLMetaElement> {
public:
    // tag in any case; attributes in order.
    static ComPtr<FakeElement> create(const std::string& tag,
                                      std::vector<std::pair<std::string, Value>> attributes = {},
                                      std::string text = "");

    // Builds the tree: appends child and answers it.
    FakeElement* append(ComPtr<FakeElement> child);
    FakeElement* append(const std::string& tag,
                        std::vector<std::pair<std::string, Value>> attributes = {},
                        std::string text = "");
    // Takes the element out of its parent; later calls on it fail.
    void remove();

    const std::string& tag() const { return m_tag; }
    Value attribute(const std::string& name) const;
    FakeElement* parent() const { return m_parent; }
    const std::vector<ComPtr<FakeElement>>& children() const { return m_children; }
    bool connected() const;
    // Every element of the subtree in document order, this one first.
    void collect(std::vector<FakeElement*>& out);

    HRESULT get_tagName(std::string* tagName) override;
    HRESULT get_id(std::string* id) override;
    HRESULT getAttribute(const char* name, long flags, Value* value) override;
    HRESULT setAttribute(const char* name, const Value& value, long flags) override;
    HRESULT removeAttribute(const char* name, BOOL* removed) override;
    HRESULT get_parentElement(IHTMLElement** parent) override;
    HRESULT get_outerHTML(std::string* html) override;
    HRESULT get_innerHTML(std::string* html) override;
    HRESULT put_innerHTML(const char* html) override;
    HRESULT get_innerText(std::string* text) override;
    HRESULT isSameNode(IHTMLElement* other, BOOL* same) override;

    HRESULT get_rows(IHTMLElementCollection** rows) override;
    HRESULT insertRow(long index, IHTMLElement** row) override;
    HRESULT deleteRow(long index) override;
    HRESULT get_cells(IHTMLElementCollection** cells) override;
    HRESULT insertCell(long index, IHTMLElement** cell) override;
    HRESULT deleteCell(long index) override;

    HRESULT get_name(std::string* name) override;
    HRESULT put_name(const char* name) override;
    HRESULT get_content(std::string* content) override;
    HRESULT put_content(const char* content) override;

    // Set by the document that holds the tree, so that leaving it fails.
    void setOwner(const bool* detached) { m_detached = detached; }

protected:
    void* findInterface(REFIID riid) override;

private:
    FakeElement(std::string tag, std::vector<std::pair<std::string, Value>> attributes,
                std::string text);
    HRESULT usable() const;
    std::vector<FakeElement*> childrenTagged(const char* a, const char* b = nullptr) const;
    HRESULT insertChild(const char* tag, long index, const char* a, const char* b,
                        IHTMLElement** out);
    HRESULT deleteChild(long index, const char* a, const char* b);
    std::string inner() const;

    std::string m_tag;
    std::vector<std::pair<std::string, Value>> m_attributes;
    std::string m_text;
    std::string m_innerOverride;
    bool m_hasInnerOverride = false;
    FakeElement* m_parent = nullptr;
    bool m_removed = false;
    const bool* m_detached = nullptr;
    std::vector<ComPtr<FakeElement>> m_children;
};

struct CommandCall {
    std::string command;
    bool showUI = false;
    Value value;
    bool operator==(const CommandCall&) const = default;
};

struct ExecCall {
    DWORD command = 0;
    Value in;
    bool operator==(const ExecCall&) const = default;
};

class FakeDocument : public com::ComObject<IHTMLDocument2, IHTMLDocumentSnapshot> {
public:
    // A document "<html><head><title></title></head><body></body></html>".
    static ComPtr<FakeDocument> create();

    FakeElement* html() const { return m_html.get(); }
    FakeElement* head() const { return m_head; }
    FakeElement* body() const { return m_body; }

    // What the test sets up.
    std::string title;
    std::string url;
    std::string designMode = "Off";
    std::map<std::string, Value> commandValues;         // by lower-case command name
    std::map<std::string, std::string> failingCommands; // lower-case name -> error text
    FakeElement* activeElement = nullptr;
    // The selection: "None"/"Text" with the text range's parent, or "Control".
    void selectText(FakeElement* parent, bool nonEmpty = true);
    void selectControl(FakeElement* element);
    // Every later call fails as on a page the browser has left.
    void detach() { m_detached = true; }

    // What the logic did.
    std::vector<CommandCall> commands;
    std::vector<std::string> pasted;
    std::vector<std::string> designModeWrites;
    std::vector<ExecCall> execs;
    // Every attachEvent call, with the event named as the caller spelled it;
    // the document holds the sinks.
    std::vector<std::pair<std::string, IDispatch*>> attached;

    // Delivers an event ("click", "mouseup") to the attached sinks and to
    // the event property, as the page would; srcElement may be null.
    void fire(const std::string& type, FakeElement* srcElement = nullptr);
    size_t sinkCount(const std::string& type) const;

    HRESULT get_designMode(std::string* mode) override;
    HRESULT put_designMode(const char* mode) override;
    HRESULT execCommand(const char* command, BOOL showUI, const Value& value, BOOL* done) override;
    HRESULT queryCommandValue(const char* command, Value* value) override;
    HRESULT get_selection(IHTMLSelectionObject** selection) override;
    HRESULT attachEvent(const char* event, IDispatch* sink, BOOL* attached) override;
    HRESULT put_eventProperty(const char* event, IDispatch* sink) override;
    HRESULT get_parentWindowEvent(IHTMLEventObj** event) override;
    HRESULT get_all(IHTMLElementCollection** all) override;
    HRESULT get_body(IHTMLElement** body) override;
    HRESULT get_activeElement(IHTMLElement** element) override;
    HRESULT get_title(std::string* title) override;
    HRESULT put_title(const char* title) override;
    HRESULT get_bgColor(std::string* color) override;
    HRESULT put_bgColor(const char* color) override;
    HRESULT get_URL(std::string* url) override;
    HRESULT Exec(const GUID* group, DWORD command, const Value& in) override;
    // The selection and the command values as the test set them.
    HRESULT takeSnapshot(const std::vector<std::string>& commands,
                         DocumentSnapshot* snapshot) override;
    HRESULT saveSelection() override;
    HRESULT restoreSelection() override;

    // For the selection objects.
    HRESULT usable() const;
    const std::string& selectionType() const { return m_selectionType; }
    FakeElement* selected() const { return m_selected; }
    void recordPaste(const std::string& html) { pasted.push_back(html); }

private:
    FakeDocument();

    ComPtr<FakeElement> m_html;
    FakeElement* m_head = nullptr;
    FakeElement* m_body = nullptr;
    bool m_detached = false;
    std::string m_selectionType = "None";
    FakeElement* m_selected = nullptr;
    std::optional<std::pair<std::string, FakeElement*>> m_savedSelection;
    std::vector<std::pair<std::string, ComPtr<IDispatch>>> m_sinks;
    std::map<std::string, ComPtr<IDispatch>> m_properties;
    std::vector<std::pair<std::string, ComPtr<FakeElement>>> m_events;
};

} // namespace browser::fake

#pragma once

// The state of a document's selection read at once: what the toolbars and
// panels show after a click, without a call into the page for each part.

#include "platform/browser/HtmlDocument.h"
#include "platform/browser/Value.h"

#include <map>
#include <string>
#include <vector>

namespace browser {

struct SnapshotElement {
    ComPtr<IHTMLElement> element;
    // Upper case, as get_tagName answers.
    std::string tag;
    // The link address as the page resolves it (getAttribute flags 0); null
    // when the element has none.
    Value href;
};

struct DocumentSnapshot {
    // "None", "Text" or "Control", as the selection object's type.
    std::string selectionType;
    // The element the selection lies in (a text range's parent element, or
    // the selected object), then its ancestors up to the html element.
    std::vector<SnapshotElement> ancestors;
    // queryCommandValue of each command asked for, by the name asked with.
    std::map<std::string, Value> values;
    // The reason, by command, where reading one failed.
    std::map<std::string, std::string> errors;
};

} // namespace browser

// Answered (QueryInterface) by a document that reads its selection's state
// in one call.
struct IHTMLDocumentSnapshot : IUnknown {
    TAVRISK_DECLARE_IID(0x6A1E34C2, 0x5B7D, 0x4E18, 0x9C, 0x21, 0x3F, 0x52, 0x8A, 0x17, 0xD0, 0x44)
    // The selection's state with the values of `commands`. The document may
    // answer from the state its page sent with the event being delivered,
    // when nothing has changed the page since.
    virtual HRESULT takeSnapshot(const std::vector<std::string>& commands,
                                 browser::DocumentSnapshot* snapshot) = 0;
    // Remembers the selection, and puts the remembered one back. A user who
    // goes to type into the bar may take the page's selection away with the
    // text selected there; the remembered one is forgotten once the user
    // works in the page again. Restoring with nothing remembered does nothing.
    virtual HRESULT saveSelection() = 0;
    virtual HRESULT restoreSelection() = 0;
};

#include "tools/Tables.h"

#include "platform/browser/Dom.h"
#include "tools/BrowserCalls.h"

#include <cctype>
#include <optional>
#include <stdexcept>

namespace tools {

namespace {

const char* const kLineEnd = "\r\n";

// A whole integer, blanks around it allowed, as the dialog's fields hold it.
int integerOf(const std::string& text) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    while (used < text.size() && std::isspace(static_cast<unsigned char>(text[used])))
        ++used;
    if (used == 0 || used != text.size())
        throw std::invalid_argument("'" + text + "' is not a valid integer value");
    return value;
}

std::string quoted(const std::string& name, const std::string& value) {
    return " " + name + "=\"" + value + "\"";
}

// The table selected as an object, if that is what the selection holds.
std::optional<browser::Element> selectedTable(IWebBrowser2* ie) {
    browser::Document document{currentDocument(ie)};
    browser::Selection selection = document.selection();
    if (selection.type() != "Control")
        return std::nullopt;
    browser::Element element = selection.createRange().commonParentElement();
    if (element.isNull() || element.tagName() != "TABLE")
        return std::nullopt;
    return element;
}

long firstRowCells(const browser::Collection& rows) {
    return rows.length() > 0 ? rows.item(0).cells().length() : 0;
}

// Whether every row has at least count cells.
bool everyRowHas(const browser::Collection& rows, long count) {
    for (long i = 0; i < rows.length(); ++i)
        if (rows.item(i).cells().length() < count)
            return false;
    return true;
}

template <typename Operation> void onSelectedTable(IWebBrowser2* ie, Operation operation) {
    try {
        if (std::optional<browser::Element> table = selectedTable(ie))
            operation(*table);
    } catch (const std::exception&) {
        // The buttons report nothing; the table is left as the engine left it.
    }
}

} // namespace

std::string tableMarkup(const TableFields& f, bool absolute) {
    std::string html = "<table ";
    if (absolute)
        html += " style=\"POSITION: absolute;\"";
    if (!f.width.empty())
        html += quoted("width", f.width + f.widthUnit);
    if (!f.height.empty())
        html += quoted("height", f.height + f.heightUnit);
    html += quoted("border", f.border) + quoted("cellpadding", f.cellPadding) +
            quoted("cellspacing", f.cellSpacing) + quoted("bordercolor", f.borderColor) +
            quoted("background", f.background) + quoted("bgcolor", f.backgroundColor) + ">" +
            kLineEnd;
    int rows = integerOf(f.rows);
    for (int r = 0; r < rows; ++r) {
        html += std::string("<tr>") + kLineEnd;
        int columns = integerOf(f.columns);
        for (int c = 0; c < columns; ++c)
            html += std::string("<td>&nbsp;</td>") + kLineEnd;
        html += std::string("</tr>") + kLineEnd;
    }
    return html + "</table>" + kLineEnd;
}

void btnTableInsRowClick(IWebBrowser2* ie) {
    onSelectedTable(ie, [](const browser::Element& table) {
        // A table without rows gives no count of cells to copy.
        if (table.rows().length() == 0)
            return;
        long columns = firstRowCells(table.rows());
        browser::Element row = table.insertRow(table.rows().length());
        for (long c = 0; c < columns; ++c)
            row.insertCell(c);
    });
}

void btnTableDelRowClick(IWebBrowser2* ie) {
    onSelectedTable(
        ie, [](const browser::Element& table) { table.deleteRow(table.rows().length() - 1); });
}

void btnTableInsColClick(IWebBrowser2* ie) {
    onSelectedTable(ie, [](const browser::Element& table) {
        browser::Collection rows = table.rows();
        long columns = firstRowCells(rows);
        if (!everyRowHas(rows, columns))
            return;
        for (long i = 0; i < rows.length(); ++i)
            rows.item(i).insertCell(columns);
    });
}

void btnTableDelColClick(IWebBrowser2* ie) {
    onSelectedTable(ie, [](const browser::Element& table) {
        browser::Collection rows = table.rows();
        long columns = firstRowCells(rows);
        if (columns == 0 || !everyRowHas(rows, columns))
            return;
        for (long i = 0; i < rows.length(); ++i)
            rows.item(i).deleteCell(columns - 1);
    });
}

} // namespace tools

#pragma once

#include "platform/browser/WebBrowser.h"

#include <string>

// The markup of a new table, and the row and column buttons of the table
// page, which work on the table selected as an object.
namespace tools {

// The texts of the table dialog's fields, as the user left them.
struct TableFields {
    std::string rows = "1";
    std::string columns = "1";
    std::string width = "100";
    std::string widthUnit = "%";
    std::string height;
    std::string heightUnit = "%";
    std::string border = "1";
    std::string cellPadding = "2";
    std::string cellSpacing = "2";
    std::string borderColor;
    std::string background;
    std::string backgroundColor;
};

// The table's lines, each ended by CR LF. A row or column count that is not
// an integer throws std::invalid_argument with the text at fault; a count of
// 0 or less gives no rows (or rows without cells). absolute adds the style
// of a table that can be moved around.
std::string tableMarkup(const TableFields& fields, bool absolute = false);

// The row and column buttons. Each acts on the table selected as an object
// and at its end, counting the cells of the first row; with anything else
// selected it does nothing. A column is added or removed in every row or,
// when a row is too short to take it, in none. Browser failures end the
// operation silently, as the buttons report nothing.
void btnTableInsRowClick(IWebBrowser2* browser);
void btnTableDelRowClick(IWebBrowser2* browser);
void btnTableInsColClick(IWebBrowser2* browser);
void btnTableDelColClick(IWebBrowser2* browser);

} // namespace tools

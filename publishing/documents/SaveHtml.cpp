#include "publishing/documents/SaveHtml.h"

#include "platform/browser/Dom.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <stdexcept>

namespace documents {

namespace {

std::string withCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

bool hasNonAscii(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The charset of <meta charset=...> and of <meta http-equiv content="...;
// charset=...">, whatever the quotes and letter case.
const std::regex& charsetValue() {
    static const std::regex pattern(R"((<meta\b[^>]*?charset\s*=\s*["']?)([A-Za-z0-9_.:-]+))",
                                    std::regex::icase);
    return pattern;
}

std::string declaredUtf8(const std::string& html) {
    if (std::regex_search(html, charsetValue()))
        return std::regex_replace(html, charsetValue(), "$1utf-8");
    if (!hasNonAscii(html))
        return html;
    static const std::regex head(R"(<head\b[^>]*>)", std::regex::icase);
    std::smatch at;
    if (!std::regex_search(html, at, head))
        return html;
    size_t end = static_cast<size_t>(at.position(0) + at.length(0));
    return html.substr(0, end) + "<meta charset=\"utf-8\">" + html.substr(end);
}

} // namespace

std::string publishedMarkup(const std::string& doctype, const std::string& htmlElement) {
    std::string text = doctype.empty() ? std::string() : doctype + "\n";
    text += declaredUtf8(htmlElement);
    return withCrLf(text) + "\r\n";
}

void saveHTML(IWebBrowser2* shown, const std::string& path) {
    browser::Document document = browser::Browser(shown).document();
    browser::Element html = document.all().tags("html").item(0);
    if (!html)
        throw std::runtime_error("The page has no html element to save.");
    std::string text = publishedMarkup(document.doctype(), html.outerHTML());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw std::runtime_error("Cannot write file \"" + path + "\".");
}

} // namespace documents

#include "dialogs/Gallery.h"

#include "platform/browser/Dom.h"

#include <strings.h>

namespace dialogs {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The leading digits of a size as the page wrote it ("50%" reads 50); a
// size that does not start with a digit reads 0, so that one odd picture
// does not cost the whole gallery.
long sizeValue(const std::string& text) {
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 1000000)
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool listed(const std::vector<GalleryPicture>& pictures, const std::string& src) {
    for (const GalleryPicture& p : pictures)
        if (strcasecmp(p.src.c_str(), src.c_str()) == 0)
            return true;
    return false;
}

std::string cell(const GalleryPicture& picture) {
    long w = sizeValue(picture.width), h = sizeValue(picture.height);
    ShownSize shown = shownSize(w, h);
    std::string s = escaped(picture.src);
    std::string W = std::to_string(w), H = std::to_string(h);
    // A picture whose page gives no size is shown within the same box.
    std::string size = w == 0 || h == 0 ? " style=\"max-width:120px;max-height:120px\""
                                        : " width=\"" + std::to_string(shown.width) +
                                              "\" height=\"" + std::to_string(shown.height) + "\"";
    return "<td id=\"" + s + "[" + W + "][" + H +
           "]\" width=150 height=150><div align=\"center\"><img alt=\"" + s + "\" src=\"" + s +
           "\"" + size +
           " border=\"0\" onmouseover=\"border=3;style.cursor='pointer';\" "
           "onmouseout=\"border=0\"><br><table width=\"128\" border=\"0\" cellpadding=\"0\" "
           "cellspacing=\"0\" bgcolor=\"#CCCCCC\"><tr><td><div align=\"center\"><font "
           "size=\"1\">H=" +
           H + " W=" + W + "</font></div></td></tr></table></div></td>";
}

} // namespace

std::vector<GalleryPicture> collectPictures(const browser::Document& document) {
    std::vector<GalleryPicture> pictures;
    browser::Collection all = document.all();
    for (long i = 0, n = all.length(); i < n; ++i) {
        browser::Element element = all.item(i);
        if (!element || element.tagName() != "IMG")
            continue;
        std::string src = element.getAttribute("src").toText();
        if (listed(pictures, src))
            continue;
        pictures.push_back(
            {src, element.getAttribute("width").toText(), element.getAttribute("height").toText()});
    }
    return pictures;
}

ShownSize shownSize(long width, long height) {
    if (width > height)
        return {120, height == 0 ? 0 : 120 * height / width};
    return {width == 0 ? 0 : 120 * width / height, 120};
}

std::string galleryPage(const std::string& sourceAddress,
                        const std::vector<GalleryPicture>& pictures) {
    const std::string eol = "\r\n";
    std::string page = "<html><head><meta charset=\"utf-8\"></head><body leftmargin=\"0\" "
                       "topmargin=\"0\" marginwidth=\"0\" marginheight=\"0\">" +
                       eol;
    page += "<font size=2>Images from: " + escaped(sourceAddress) +
            "</font><table border=\"1\" align=\"center\" cellpadding=\"0\" cellspacing=\"0\">" +
            eol;
    for (size_t first = 0; first < pictures.size(); first += 4) {
        page += "<tr>" + eol;
        for (size_t i = first; i < pictures.size() && i < first + 4; ++i)
            page += cell(pictures[i]) + eol;
        page += "</tr>" + eol;
    }
    return page + "</table></body></html>" + eol;
}

bool parseCellId(const std::string& id, ChosenPicture& chosen) {
    // Read from the end: an address may hold brackets of its own.
    if (id.size() < 6 || id.back() != ']')
        return false;
    size_t heightOpen = id.rfind('[');
    if (heightOpen == std::string::npos || heightOpen < 3 || id[heightOpen - 1] != ']')
        return false;
    size_t widthOpen = id.rfind('[', heightOpen - 2);
    if (widthOpen == std::string::npos)
        return false;
    chosen.src = id.substr(0, widthOpen);
    chosen.width = id.substr(widthOpen + 1, heightOpen - 2 - widthOpen);
    chosen.height = id.substr(heightOpen + 1, id.size() - 2 - heightOpen);
    return !chosen.src.empty();
}

} // namespace dialogs

#pragma once

#include <string>
#include <vector>

namespace browser {
class Document;
}

namespace dialogs {

// One picture of a web page: its address and its "width" and "height" as
// the page gives them.
struct GalleryPicture {
    std::string src;
    std::string width;
    std::string height;
};

// The pictures of a document in document order, one per address whatever
// its letter case.
std::vector<GalleryPicture> collectPictures(const browser::Document& document);

// The shown size of a picture: the aspect kept, the longer side 120.
struct ShownSize {
    long width = 0;
    long height = 0;
};
ShownSize shownSize(long width, long height);

// The gallery page, four pictures to a row. Every value taken from the
// other page is escaped, so that an address cannot add markup or script to
// the gallery. Lines end with CR LF.
std::string galleryPage(const std::string& sourceAddress,
                        const std::vector<GalleryPicture>& pictures);

// A gallery cell's id is the picture's address, then its width and height
// in brackets. Answers false for an id of another form.
struct ChosenPicture {
    std::string src;
    std::string width;
    std::string height;
};
bool parseCellId(const std::string& id, ChosenPicture& chosen);

} // namespace dialogs

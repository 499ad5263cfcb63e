#pragma once

#include "forms/FormDescription.h"

namespace forms {

// The page properties dialog: title, background color and picture, and the
// keywords and description metas.
const FormDesc& pagePropertiesDescription();

// The links and images dialog: a small browser to pick a link's address,
// an e-mail link page and the picture gallery.
const FormDesc& linksAndImagesDescription();

// The file filter of the picture dialogs, as the dialogs list it.
inline constexpr const char* kPictureFilter =
    "Tous (*.gif, *.jpeg, *.jpg)|*.gif;*.jpg;*.jpeg|CompuServe GIF Image (*.gif)|*.gif|Fichier "
    "image JPEG (*.jpg)|*.jpg|Fichier image JPEG (*.jpeg)|*.jpeg";
// The file filter of "Add document".
inline constexpr const char* kDocumentFilter =
    "Word (*.doc)|*.doc|Excel (.xls)|*.xls|Texte (.txt)|*.txt|Acrobat Reader (.pdf)|*.pdf|Csv "
    "(*.csv)|*.csv|All (*.*)|*.*";

} // namespace forms

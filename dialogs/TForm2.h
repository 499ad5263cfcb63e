#pragma once

#include "forms/FormObject.h"

namespace dialogs {

// The page properties dialog. For now it holds its link to the band form
// that created it; showing it says that the dialog is not available yet.
class TForm2 : public forms::FormObject {
public:
    TForm2();
    void Show() override;

    forms::BandFormLink* FBandForm = nullptr;
};

} // namespace dialogs

#pragma once

#include "forms/FormObject.h"

namespace tools {

// The table dialog. For now it holds its link to the band form that created
// it; showing it says that the dialog is not available yet.
class TForm3 : public forms::FormObject {
public:
    TForm3();
    void Show() override;

    forms::BandFormLink* FBandForm = nullptr;
};

} // namespace tools

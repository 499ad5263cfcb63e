#pragma once

#include "forms/FormObject.h"

namespace dialogs {

// The links and images dialog with its gallery. For now it holds its link to
// the band form that created it; showing it says that the dialog is not
// available yet.
class Ttestform : public forms::FormObject {
public:
    Ttestform();
    void Show() override;

    forms::BandFormLink* FBandForm = nullptr;
};

} // namespace dialogs

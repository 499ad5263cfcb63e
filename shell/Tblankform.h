#pragma once

#include "forms/FormObject.h"

namespace shell {

// The empty form created first, which becomes the application's main form.
class Tblankform : public forms::FormObject {
public:
    Tblankform() : FormObject(forms::namedForm("Tblankform")) {}
};

} // namespace shell

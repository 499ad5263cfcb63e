#pragma once

#include "forms/FormDescription.h"

namespace forms {

// "Table properties": the dialog that builds a new table.
FormDesc tableDialogDescription();

} // namespace forms

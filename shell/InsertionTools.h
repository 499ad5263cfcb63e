#pragma once

class TBandForm;

namespace shell {

// Binds the insertion toolbar's object buttons (free text box, Flash movie,
// table dialog) and the table page's row and column buttons to the tools.
void bindInsertionTools(TBandForm& band);

} // namespace shell

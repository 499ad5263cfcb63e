#pragma once

class TBandForm;

namespace shell {

// Creates, hidden and in order, each process-wide form that does not exist;
// answers whether any was created.
bool createMissingProcessForms();

// Gives the gallery, the wizard, the FTP session form, the page properties
// and the table dialog, in this order, their reference to the band form.
void linkProcessForms(TBandForm* band);

} // namespace shell

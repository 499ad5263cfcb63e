#pragma once

#include <memory>

// The secondary forms exist once per process, whichever band form created
// them, and are destroyed together when a band closes.
namespace shell {

class ProcessForm {
public:
    virtual ~ProcessForm() = default;
};

// The six process-wide forms, in the order they are destroyed.
enum class ProcessFormSlot { Blank, Ftp, PageProperties, Table, Wizard, Gallery, Count };

ProcessForm* processForm(ProcessFormSlot slot);
void setProcessForm(ProcessFormSlot slot, std::unique_ptr<ProcessForm> form);
// Destroys every process-wide form, in slot order, and clears the slots.
void destroyProcessForms();

} // namespace shell

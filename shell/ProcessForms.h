#pragma once

#include "forms/FormObject.h"

#include <memory>

// The secondary forms exist once per process, whichever band form created
// them, and are destroyed together when a band closes.
namespace shell {

using ProcessForm = forms::FormObject;

// The six process-wide forms, in the order they are created and destroyed.
enum class ProcessFormSlot { Blank, Ftp, PageProperties, Table, Wizard, Gallery, Count };

ProcessForm* processForm(ProcessFormSlot slot);
void setProcessForm(ProcessFormSlot slot, std::unique_ptr<ProcessForm> form);
// Destroys every process-wide form, in slot order, and clears the slots.
void destroyProcessForms();

template <typename T> T* processFormAs(ProcessFormSlot slot) {
    return dynamic_cast<T*>(processForm(slot));
}

} // namespace shell

#include "ProcessForms.h"

#include <array>

namespace shell {

namespace {
using Slots = std::array<std::unique_ptr<ProcessForm>, static_cast<size_t>(ProcessFormSlot::Count)>;
Slots& slots() {
    static Slots s;
    return s;
}
} // namespace

ProcessForm* processForm(ProcessFormSlot slot) {
    return slots()[static_cast<size_t>(slot)].get();
}

void setProcessForm(ProcessFormSlot slot, std::unique_ptr<ProcessForm> form) {
    slots()[static_cast<size_t>(slot)] = std::move(form);
}

void destroyProcessForms() {
    for (auto& form : slots())
        form.reset();
}

} // namespace shell

#include "BarCatalog.h"

#include "platform/com/Interfaces.h"
#include "platform/registry/Registry.h"

namespace host {

std::vector<RegisteredBar> registeredBars() {
    using registry::Root;
    auto& reg = registry::Registry::user();
    const std::string category = "\\Implemented Categories\\" + com::guidToString(CATID_CommBand);
    std::vector<RegisteredBar> bars;
    for (const std::string& name : reg.subkeys(Root::ClassesRoot, "CLSID")) {
        auto clsid = com::guidFromString(name);
        std::string key = "CLSID\\" + name;
        if (!clsid || !reg.keyExists(Root::ClassesRoot, key + category))
            continue;
        auto module = reg.value(Root::ClassesRoot, key + "\\InprocServer32", "");
        if (!module || module->empty())
            continue;
        bars.push_back({*clsid, reg.value(Root::ClassesRoot, key, "").value_or(name), *module});
    }
    return bars;
}

std::string mnemonicLabel(const std::string& caption) {
    std::string label;
    for (size_t i = 0; i < caption.size(); ++i) {
        char c = caption[i];
        if (c == '&' && i + 1 < caption.size() && caption[i + 1] == '&') {
            label += '&';
            ++i;
        } else if (c == '&') {
            label += '_';
        } else if (c == '_') {
            label += "__";
        } else {
            label += c;
        }
    }
    return label;
}

} // namespace host

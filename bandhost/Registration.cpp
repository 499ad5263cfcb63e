#include "Registration.h"

#include "EditBandIds.h"
#include "platform/com/Interfaces.h"
#include "platform/registry/Registry.h"

using registry::Registry;
using registry::Root;

namespace {

const std::string kCategoryCacheRoot =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Discardable\\PostSetup\\"
    "Component Categories\\";

std::string classKey() {
    return "CLSID\\" + com::guidToString(CLSID_EditBand);
}

void registerGeneric(Registry& reg, const std::string& modulePath) {
    reg.setValue(Root::ClassesRoot, classKey(), "", kEditBandDescription);
    // Linux paths have no short form: the path is written as it is.
    reg.setValue(Root::ClassesRoot, classKey() + "\\InprocServer32", "", modulePath);
}

void registerBand(Registry& reg) {
    // Hosts cache the members of each bar category; drop both caches so that
    // the new bar is found.
    for (const GUID& category : {CATID_InfoBand, CATID_CommBand})
        reg.deleteKeyTree(Root::CurrentUser,
                          kCategoryCacheRoot + com::guidToString(category) + "\\Enum");
    reg.setValue(Root::ClassesRoot, classKey(), "", kEditBandMenuCaption);
    reg.setValue(Root::ClassesRoot, classKey() + "\\InProcServer32", "ThreadingModel", "Apartment");
    reg.createKey(Root::ClassesRoot,
                  classKey() + "\\Implemented Categories\\" + com::guidToString(CATID_CommBand));
}

} // namespace

void registerEditBand(const std::string& modulePath) {
    Registry& reg = Registry::user();
    registerGeneric(reg, modulePath);
    registerBand(reg);
}

void unregisterEditBand() {
    Registry& reg = Registry::user();
    // Each as a single key: the second fails while subkeys remain, which the
    // band's own steps below take care of.
    reg.deleteKey(Root::ClassesRoot, classKey() + "\\InprocServer32");
    reg.deleteKey(Root::ClassesRoot, classKey());
    reg.deleteKeyTree(Root::ClassesRoot, classKey() + "\\Implemented Categories\\" +
                                             com::guidToString(CATID_CommBand));
    reg.deleteKeyTree(Root::ClassesRoot, classKey() + "\\InProcServer32");
    reg.deleteKeyTree(Root::ClassesRoot, classKey());
}

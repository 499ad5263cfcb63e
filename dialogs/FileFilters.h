#pragma once

#include "platform/ui/Dialogs.h"

#include <string>
#include <vector>

namespace dialogs {

// "Name|*.a;*.b|Other|*.c" as the file dialogs' filter list.
std::vector<ui::FileFilter> parseFilter(const std::string& filter);

// The address of a file picked on this computer: the file URI of a full
// path ("file:///home/me/a%20b.gif"); a path in the drive form
// ("C:\\docs\\a.doc") becomes "file:///C:/docs/a.doc".
std::string fileAddress(const std::string& path);

} // namespace dialogs

// Where the program keeps its settings: the current folder, named after the program.
#pragma once

#include <string>

namespace app {

// "<currentDirectory>\<base name of modulePath>.ini". The module path may use '\' or '/' and may
// lack a folder or an extension; an empty base name gives ".ini".
std::string MakeIniPath(const std::string& currentDirectory, const std::string& modulePath);

}  // namespace app

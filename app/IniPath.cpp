// The INI path rule: the file lies in the current folder, not beside the program.
#include "app/IniPath.h"

namespace app {

std::string MakeIniPath(const std::string& currentDirectory, const std::string& modulePath) {
    const size_t slash = modulePath.find_last_of("\\/:");
    std::string base = slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    const size_t dot = base.find_last_of('.');
    if (dot != std::string::npos) base.erase(dot);
    return currentDirectory + "\\" + base + ".ini";
}

}  // namespace app

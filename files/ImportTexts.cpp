// Filter and title texts of the import.
#include "files/ImportTexts.h"

namespace files {

std::string ImportFilter(const std::string& typeName, const std::string& ext) {
    // Built with the zero bytes directly: a CP932 trail byte may equal "|".
    std::string filter = typeName + " (*." + ext + ")";
    filter += '\0';
    filter += "*." + ext;
    filter += '\0';
    filter += "全てのファイル (*.*)";
    filter += '\0';
    filter += "*.*";
    filter += '\0';
    filter += '\0';
    return filter;
}

std::string ImportedTitle(const std::string& standardTitle, const std::string& path) {
    return standardTitle + " [" + path + "]";
}

std::string ImportProgressTitle(const std::string& importedTitle, int percent) {
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    return importedTitle + " 読み込み中 " + std::to_string(percent) + "%";
}

}  // namespace files

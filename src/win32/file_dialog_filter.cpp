#include "src/win32/file_dialog_filter.h"

#include <algorithm>

namespace velmora {

std::string commonDialogFilter(const std::string& barSeparated) {
    std::string filter = barSeparated;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    // A filter written without its closing "||" must still end the list.
    while (filter.size() < 2 || filter[filter.size() - 1] != '\0' || filter[filter.size() - 2] != '\0')
        filter.push_back('\0');
    return filter;
}

}  // namespace velmora

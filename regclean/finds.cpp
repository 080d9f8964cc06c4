#include "regclean/finds.h"

#include "platform/registry_path.h"
#include "regclean/file_time.h"

#include <algorithm>

namespace veltrano::regclean {

using platform::registry_fold;

std::string key_cell(const Find& find) { return find.root_name + ": " + find.key_path; }

std::vector<std::string> row_cells(const Find& find) {
    return {key_cell(find), format_last_write(find.last_write), find.name, find.data};
}

void sort_finds(Finds& finds, int column, bool ascending) {
    const auto less = [column](const Find& a, const Find& b) {
        switch (column) {
        case 0: return registry_fold(key_cell(a)) < registry_fold(key_cell(b));
        case 1: return a.last_write < b.last_write;
        case 2: return registry_fold(a.name) < registry_fold(b.name);
        default: return registry_fold(a.data) < registry_fold(b.data);
        }
    };
    if (ascending)
        std::stable_sort(finds.begin(), finds.end(), less);
    else
        std::stable_sort(finds.begin(), finds.end(), [&](const Find& a, const Find& b) { return less(b, a); });
}

}  // namespace veltrano::regclean

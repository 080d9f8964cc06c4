#include "shell/win32/page_builder.h"

#include <map>
#include <string>

namespace veltrano::shell::win32 {

namespace {

// Filled while the program's statics are made, before wWinMain runs.
std::map<std::string, BuildPage, std::less<>>& views() {
    static std::map<std::string, BuildPage, std::less<>> all;
    return all;
}

}  // namespace

PageView::PageView(std::string_view group_box, BuildPage build) { views()[std::string(group_box)] = build; }

BuildPage find_page_view(std::string_view group_box) {
    auto it = views().find(group_box);
    return it == views().end() ? nullptr : it->second;
}

}  // namespace veltrano::shell::win32

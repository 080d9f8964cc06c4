#include "platform/registry_path.h"

namespace veltrano::platform {

std::string strip_leading_backslash(const std::string& path) {
    if (!path.empty() && path.front() == '\\') return path.substr(1);
    return path;
}

std::vector<std::string> split_registry_path(const std::string& path) {
    std::vector<std::string> parts;
    const std::string p = strip_leading_backslash(path);
    std::string cur;
    for (char c : p) {
        if (c == '\\') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    // A trailing backslash names the same key ("SOFTWARE\\VELTRANO\\").
    if (!p.empty() && !cur.empty()) parts.push_back(cur);
    return parts;
}

bool is_valid_registry_path(const std::string& path) {
    for (const auto& part : split_registry_path(path))
        if (part.empty()) return false;
    return true;
}

std::string registry_upper(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace veltrano::platform

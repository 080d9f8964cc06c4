#include "regclean/reg_scanner.h"

namespace veltrano::regclean {

bool RegScanner::open_absolute(const std::string& path) {
    key_.reset();
    key_ = registry_.open(root_, path, false);
    path_ = !path.empty() && path.front() == '\\' ? path.substr(1) : path;
    return key_ != nullptr;
}

bool RegScanner::open_relative(const std::string& name) {
    if (!key_) return false;
    // Opened from the root by the whole path: the interface has no relative
    // open, and the registry walks the same components either way.
    std::string path = path_ + '\\' + name;
    key_.reset();
    key_ = registry_.open(root_, ensure_leading_backslash(path), false);
    path_ = std::move(path);
    return key_ != nullptr;
}

std::string ensure_leading_backslash(const std::string& path) {
    return !path.empty() && path.front() == '\\' ? path : '\\' + path;
}

}  // namespace veltrano::regclean

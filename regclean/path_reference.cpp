#include "regclean/path_reference.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace veltrano::regclean {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool has_extension(const std::string& path) {
    const std::size_t name_start = path.find_last_of("\\:") + 1;
    return path.find('.', name_start) != std::string::npos;
}

// "C:\WINDOWS\system32\vbscript.dll\2": the file before the number.
std::optional<std::string> without_resource_number(const std::string& s) {
    const std::size_t slash = s.find_last_of('\\');
    if (slash == std::string::npos || slash + 1 == s.size()) return std::nullopt;
    if (!std::all_of(s.begin() + static_cast<std::ptrdiff_t>(slash) + 1, s.end(),
                     [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::string file = s.substr(0, slash);
    if (!has_extension(file)) return std::nullopt;
    return file;
}

// "C:\Program Files\Adobe\Photoshop.exe/Automation", as some programs
// register themselves: the file before the argument.
std::optional<std::string> without_slash_argument(const std::string& s) {
    const std::size_t slash = s.find('/');
    if (slash == std::string::npos) return std::nullopt;
    std::string file = s.substr(0, slash);
    if (!has_extension(file)) return std::nullopt;
    return file;
}

// The path with its System32 folder read as SysWOW64, where 64-bit Windows
// keeps what 32-bit programs find in System32.
std::optional<std::string> in_syswow64(const std::string& s) {
    static const std::string folder = "\\SYSTEM32";
    for (std::size_t at = s.find('\\'); at != std::string::npos; at = s.find('\\', at + 1)) {
        if (s.size() - at < folder.size()) break;
        bool same = true;
        for (std::size_t i = 0; same && i < folder.size(); ++i) same = upper(s[at + i]) == folder[i];
        const std::size_t end = at + folder.size();
        if (same && (end == s.size() || s[end] == '\\')) return s.substr(0, at) + "\\SysWOW64" + s.substr(end);
    }
    return std::nullopt;
}

}  // namespace

Missing missing_reference(const std::string& s, platform::FileSystem& files, bool below_wow6432node) {
    if (s.size() < 3) return Missing::None;
    const char drive = upper(s[0]);
    // A and B are floppies, whose references are no proof of anything.
    if (drive < 'C' || drive > 'Z') return Missing::None;
    // Lists and command lines, and paths with blanks that may be either:
    // too easy to misread to be worth a report.
    if (s.find_first_of(";, ") != std::string::npos) return Missing::None;
    if (s[1] != ':' || s[2] != '\\') return Missing::None;
    if (files.drive_type(std::string(1, drive) + ":\\") != platform::DriveType::Fixed) return Missing::None;

    // Whatever is there, file or folder, with or without an extension, is
    // no broken reference; only the system's "not found" makes one.
    std::vector<std::string> candidates{s};
    if (auto file = without_resource_number(s)) candidates.push_back(*file);
    if (auto file = without_slash_argument(s)) candidates.push_back(*file);
    if (below_wow6432node) {
        const std::size_t own = candidates.size();
        for (std::size_t i = 0; i < own; ++i)
            if (auto moved = in_syswow64(candidates[i])) candidates.push_back(*moved);
    }
    if (std::any_of(candidates.begin(), candidates.end(),
                    [&](const std::string& path) { return files.probe(path) != platform::PathState::Missing; }))
        return Missing::None;
    // What is missing: the file the string names, or already its folder.
    // The file is the one without a number or argument behind it.
    const std::string& named = candidates.size() > 1 ? candidates[1] : s;
    const std::size_t last = named.find_last_of('\\');
    const std::string folder = named.substr(0, last + 1);
    const bool folder_there = folder.size() <= 3 || files.probe(folder) == platform::PathState::Folder;
    return folder_there && has_extension(named) ? Missing::File : Missing::Folder;
}

bool is_valid_path_reference(const std::string& s, platform::FileSystem& files, bool below_wow6432node) {
    return missing_reference(s, files, below_wow6432node) == Missing::None;
}

}  // namespace veltrano::regclean

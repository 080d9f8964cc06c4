#include "platform/registry_path.h"

#include "platform/utf8.h"

#include <algorithm>

namespace veltrano::platform {

namespace {

// Case pairs as ranges: in [first, last], the upper case of a lower-case
// letter is `delta` below it. `alternate` marks ranges where upper and lower
// letters take turns (Latin Extended-A), `upper_odd` saying which comes first.
struct CaseRange {
    char32_t first, last;
    char32_t delta;
    bool alternate, upper_odd;
};

constexpr CaseRange kCaseRanges[] = {
    {U'a', U'z', 0x20, false, false},
    {0x00E0, 0x00FE, 0x20, false, false},  // but not U+00F7, the division sign
    {0x0100, 0x012F, 1, true, false},
    {0x0132, 0x0137, 1, true, false},
    {0x0139, 0x0148, 1, true, true},
    {0x014A, 0x0177, 1, true, false},
    {0x0179, 0x017E, 1, true, true},
    {0x03B1, 0x03C1, 0x20, false, false},  // Greek; final sigma U+03C2 stays itself
    {0x03C3, 0x03CB, 0x20, false, false},
    {0x0430, 0x044F, 0x20, false, false},  // Cyrillic
    {0x0450, 0x045F, 0x50, false, false},
};

// Pairs that fit no range: y with diaeresis, whose capital lives outside
// Latin-1, and the Greek vowels with tonos. {lower, upper}.
constexpr char32_t kCasePairs[][2] = {
    {0x00FF, 0x0178}, {0x03AC, 0x0386}, {0x03AD, 0x0388}, {0x03AE, 0x0389},
    {0x03AF, 0x038A}, {0x03CC, 0x038C}, {0x03CD, 0x038E}, {0x03CE, 0x038F},
};

char32_t to_upper(char32_t c) {
    if (c == 0x00F7) return c;  // the division sign
    for (const auto& pair : kCasePairs)
        if (c == pair[0]) return pair[1];
    for (const auto& r : kCaseRanges) {
        if (r.alternate) {
            if (c > r.first && c <= r.last && ((c & 1) != 0) != r.upper_odd) return c - 1;
        } else if (c >= r.first && c <= r.last) {
            return c - r.delta;
        }
    }
    return c;
}

char32_t to_lower(char32_t c) {
    if (c == 0x00D7) return c;  // the multiplication sign
    for (const auto& pair : kCasePairs)
        if (c == pair[1]) return pair[0];
    for (const auto& r : kCaseRanges) {
        if (r.alternate) {
            if (c >= r.first && c < r.last && ((c & 1) != 0) == r.upper_odd) return c + 1;
        } else if (c >= r.first - r.delta && c <= r.last - r.delta) {
            return c + r.delta;
        }
    }
    return c;
}

}  // namespace

std::string strip_leading_backslash(const std::string& path) {
    if (!path.empty() && path.front() == '\\') return path.substr(1);
    return path;
}

std::vector<std::string> split_registry_path(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : strip_leading_backslash(path)) {
        if (c != '\\') {
            current += c;
        } else if (!current.empty()) {
            parts.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

std::pair<std::string, std::string> parent_and_name(const std::string& path) {
    std::string p = path;
    while (!p.empty() && p.back() == '\\') p.pop_back();
    const auto slash = p.rfind('\\');
    if (slash == std::string::npos) return {"", p};
    return {p.substr(0, slash), p.substr(slash + 1)};
}

bool is_valid_registry_path(const std::string& path) {
    const std::string rest = strip_leading_backslash(path);
    return rest.empty() || rest.front() != '\\';
}

std::u16string registry_fold(const std::string& name, NameFold fold) {
    std::u16string out;
    out.reserve(name.size());
    // Nearly every name is ASCII: folded here without decoding, which the
    // analyser's walk and the in-memory registry do for every name they meet.
    if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        for (char c : name) {
            if (fold == NameFold::Upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (fold == NameFold::Lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            out.push_back(static_cast<char16_t>(c));
        }
        return out;
    }
    for (char32_t c : decode_utf8(name)) {
        c = fold == NameFold::Upper ? to_upper(c) : to_lower(c);
        // Compared as UTF-16 code units, as the registry does: characters
        // beyond the BMP sort by their surrogates, before U+E000.
        encode_utf16(c, out);
    }
    return out;
}

std::string registry_upper(const std::string& name) {
    std::string out;
    for (char32_t c : decode_utf8(name)) encode_utf8(to_upper(c), out);
    return out;
}

}  // namespace veltrano::platform

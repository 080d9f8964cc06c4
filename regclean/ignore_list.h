// The entries the user told the cleaner to leave alone, kept in a plain
// text file the user can read and edit: one entry a line, root, key and
// value name separated by tabs. A line with no value name stands for the
// key and everything below it.
#pragma once

#include "platform/registry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace veltrano::regclean {

struct IgnoredEntry {
    platform::Root root;
    std::string key_path;                // below the root, without a leading '\'
    std::optional<std::string> name;     // none: the key and all below it
};

class IgnoreList {
public:
    // The file's bytes: UTF-8 (with or without a byte order mark) or UTF-16
    // with its byte order mark, any line ends.
    static IgnoreList parse(std::string_view text);
    // The file's bytes. A new file gets a heading that says how to read it.
    // A file read keeps every line as it was, byte for byte and in its
    // place ('#' lines, lines it cannot read, their line ends), less the
    // entries removed; entries added follow, in the file's own encoding.
    std::string text() const;

    // Whether a value (or, without a name, a whole key) is left out.
    bool ignores(platform::Root root, const std::string& key_path, const std::string& name) const;
    // Whether the key is left out, by itself or with a key above it.
    bool key_ignored(platform::Root root, const std::string& key_path) const;
    // False when it is left out already.
    bool add(IgnoredEntry entry);
    void remove(std::size_t index);
    const std::vector<IgnoredEntry>& entries() const { return entries_; }
    // The lines that could not be read, as they were.
    const std::vector<std::string>& unread() const { return unread_; }

private:
    // One line of the file as it was read (or as an entry added is
    // written), its line end included, and the entry it holds if any.
    struct Line {
        std::string bytes;
        std::optional<std::size_t> entry;
    };
    bool add_entry(IgnoredEntry& entry);
    std::string encode(std::string_view utf8) const;
    void index(const IgnoredEntry& entry);
    void reindex();
    std::vector<IgnoredEntry> entries_;
    std::vector<std::string> unread_;
    std::vector<Line> lines_;
    // Read from a file: its byte order mark, and whether it is UTF-16.
    bool from_file_ = false;
    bool utf16_ = false;
    std::string byte_order_mark_;
    // Folded "ROOT\KEY\PATH" of whole keys, and the same with "\n" + the
    // value's name for values: a find is looked up, never searched for.
    std::unordered_set<std::u16string> keys_, values_;
};

// How the small window lists an entry: "HKEY_CURRENT_USER\Software\X: Path",
// "...\Software\X: (Default)", or "...\Software\X (and everything below)".
std::string entry_text(const IgnoredEntry& entry);

}  // namespace veltrano::regclean

// One language's texts, keyed by the English: read from the binary catalogue
// gettext's msgfmt writes (a .mo file), which the build puts into the exe.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace veltrano::i18n {

class Catalogue {
public:
    Catalogue() = default;
    // Throws std::runtime_error for a file that is not a .mo file or whose
    // tables point outside it.
    static Catalogue from_mo(std::span<const std::uint8_t> bytes);

    // The translation, or the English itself where there is none.
    std::string_view find(std::string_view english) const;
    bool empty() const { return texts_.empty(); }
    std::size_t size() const { return texts_.size(); }

private:
    std::unordered_map<std::string, std::string> texts_;
};

}  // namespace veltrano::i18n

#include "i18n/catalogue.h"

#include <stdexcept>

namespace veltrano::i18n {
namespace {

constexpr std::uint32_t kMagic = 0x950412de, kMagicSwapped = 0xde120495;

class MoReader {
public:
    explicit MoReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
        const std::uint32_t magic = word(0, false);
        if (magic != kMagic && magic != kMagicSwapped) fail("no catalogue's mark at its start");
        swapped_ = magic == kMagicSwapped;
    }

    std::uint32_t word(std::size_t at) const { return word(at, swapped_); }

    // One entry of a table of (length, offset) pairs; a plural's forms and
    // the English's plural follow the first after a NUL: the first is kept.
    std::string_view text(std::uint32_t table, std::uint32_t index) const {
        const std::size_t entry = std::size_t{table} + std::size_t{index} * 8;
        const std::uint32_t length = word(entry), offset = word(entry + 4);
        if (std::size_t{offset} + length >= bytes_.size()) fail("a text runs past its end");
        const std::string_view all(reinterpret_cast<const char*>(bytes_.data()) + offset, length);
        return all.substr(0, all.find('\0'));
    }

    [[noreturn]] static void fail(const std::string& why) {
        throw std::runtime_error("The language catalogue cannot be read: " + why);
    }

private:
    std::uint32_t word(std::size_t at, bool swapped) const {
        if (at + 4 > bytes_.size()) fail("it is cut off");
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t byte = bytes_[at + (swapped ? i : 3 - i)];
            value = (value << 8) | byte;
        }
        return value;
    }

    std::span<const std::uint8_t> bytes_;
    bool swapped_ = false;
};

}  // namespace

Catalogue Catalogue::from_mo(std::span<const std::uint8_t> bytes) {
    const MoReader mo(bytes);
    const std::uint32_t count = mo.word(8), originals = mo.word(12), translations = mo.word(16);
    Catalogue catalogue;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string_view english = mo.text(originals, i), translated = mo.text(translations, i);
        // The empty key is the catalogue's header; an empty translation is none.
        if (english.empty() || translated.empty()) continue;
        catalogue.texts_.emplace(english, translated);
    }
    return catalogue;
}

std::string_view Catalogue::find(std::string_view english) const {
    if (texts_.empty()) return english;  // English: no key is made for each text
    const auto found = texts_.find(std::string(english));
    return found == texts_.end() ? english : std::string_view(found->second);
}

}  // namespace veltrano::i18n

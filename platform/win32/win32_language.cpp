#include "platform/win32/win32_language.h"

#include "platform/win32/text.h"

#include <windows.h>

#include <cctype>
#include <stdexcept>
#include <string>

namespace veltrano::platform::win32 {

std::uint16_t windows_display_language() { return GetUserDefaultUILanguage(); }

std::string thousands_separator() {
    wchar_t separator[8] = {};
    const int count = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    return count > 1 ? to_utf8(separator, static_cast<std::size_t>(count - 1)) : std::string(",");
}

i18n::Catalogue catalogue_from_resources(const i18n::Language& language) {
    if (language.code == i18n::english().code) return {};
    // CATALOGUE_ and the gettext name in capitals: CATALOGUE_PT_BR.
    std::wstring name = L"CATALOGUE_";
    for (char c : language.code) name += c == '-' ? L'_' : static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(c)));
    HRSRC found = FindResourceW(nullptr, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    try {
        return i18n::Catalogue::from_mo({static_cast<const std::uint8_t*>(bytes), SizeofResource(nullptr, found)});
    } catch (const std::runtime_error&) {
        return {};
    }
}

}  // namespace veltrano::platform::win32

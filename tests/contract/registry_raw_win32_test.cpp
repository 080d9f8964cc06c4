// What other programs leave in the registry, written with the raw API and
// read through Win32Registry: strings without terminators, odd lengths,
// values too long for a first buffer, types we do not model. Also the
// registry view the 32-bit build lands in.
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace veltrano::contract {
namespace {

using platform::RegValue;
using platform::ValueKind;
using platform::win32::unique_hkey;
using platform::win32::Win32Registry;

std::string unique_key_path(const char* base) {
    static unsigned counter = 0;
    char name[128];
    std::snprintf(name, sizeof name, "%s\\%08lx-%08lx-%u", base, GetCurrentProcessId(), GetTickCount(), ++counter);
    return name;
}

std::vector<BYTE> utf16_bytes(const std::wstring& text, std::size_t count) {
    const auto* first = reinterpret_cast<const BYTE*>(text.data());
    return {first, first + count};
}

RegValue other(std::vector<std::uint8_t> bytes) {
    RegValue value;
    value.kind = ValueKind::Other;
    value.bytes = std::move(bytes);
    return value;
}

struct RawRow {
    const char* what;
    DWORD type;
    std::vector<BYTE> data;
    RegValue expected;
};

class RawValueTest : public ::testing::TestWithParam<RawRow> {
protected:
    void SetUp() override {
        path_ = unique_key_path("Software\\VeltranoContract");
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, platform::win32::to_utf16(path_).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | registry_.view().flag, nullptr, raw_.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        raw_.reset();
        EXPECT_TRUE(platform::delete_key(registry_, platform::Root::CurrentUser, path_));
    }

    Win32Registry registry_;
    std::string path_;
    unique_hkey raw_;
};

TEST_P(RawValueTest, ReadsAsTheLogicExpects) {
    const auto& row = GetParam();
    static const BYTE nothing = 0;
    ASSERT_EQ(RegSetValueExW(raw_.get(), L"v", 0, row.type, row.data.empty() ? &nothing : row.data.data(),
                             static_cast<DWORD>(row.data.size())),
              ERROR_SUCCESS);
    auto key = registry_.open(platform::Root::CurrentUser, path_, false);
    ASSERT_TRUE(key);
    const auto value = key->query("v");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->kind, row.expected.kind);
    EXPECT_EQ(value->text, row.expected.text);
    EXPECT_EQ(value->dword, row.expected.dword);
    EXPECT_EQ(value->bytes, row.expected.bytes);
}

const std::wstring kLong = std::wstring(300000, L'w') + L"end";
const std::wstring kAbc = L"abc";

INSTANTIATE_TEST_SUITE_P(
    Raw, RawValueTest,
    ::testing::Values(
        RawRow{"string_terminated", REG_SZ, utf16_bytes(kAbc, 8), RegValue::string("abc")},
        RawRow{"string_without_terminator", REG_SZ, utf16_bytes(kAbc, 6), RegValue::string("abc")},
        // An odd length leaves half a character; its low byte is the letter.
        RawRow{"string_odd_length", REG_SZ, utf16_bytes(kAbc, 5), RegValue::string("abc")},
        RawRow{"string_two_terminators", REG_SZ, utf16_bytes(std::wstring(L"abc\0\0", 5), 10),
               RegValue::string("abc")},
        // Only terminators at the end go; an inner NUL is data.
        RawRow{"string_inner_nul", REG_SZ, utf16_bytes(std::wstring(L"ab\0cd\0", 6), 12),
               RegValue::string(std::string("ab\0cd", 5))},
        RawRow{"string_no_bytes", REG_SZ, {}, RegValue::string("")},
        RawRow{"string_only_terminator", REG_SZ, utf16_bytes(std::wstring(1, L'\0'), 2), RegValue::string("")},
        RawRow{"long_string_without_terminator", REG_SZ, utf16_bytes(kLong, kLong.size() * 2),
               RegValue::string(std::string(300000, 'w') + "end")},
        RawRow{"expand_string_without_terminator", REG_EXPAND_SZ,
               utf16_bytes(std::wstring(L"%TEMP%"), 12), RegValue::expand_string("%TEMP%")},
        RawRow{"large_binary", REG_BINARY, std::vector<BYTE>(1 << 20, 0xA5),
               RegValue::binary(std::vector<std::uint8_t>(1 << 20, 0xA5))},
        RawRow{"dword_short", REG_DWORD, {1, 2, 3}, other({1, 2, 3})},
        RawRow{"dword_long", REG_DWORD, {1, 2, 3, 4, 5}, other({1, 2, 3, 4, 5})},
        RawRow{"dword_big_endian", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}, other({0, 0, 0, 1})},
        RawRow{"qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, other({1, 0, 0, 0, 0, 0, 0, 0})},
        RawRow{"multi_string", REG_MULTI_SZ, utf16_bytes(std::wstring(L"a\0b\0\0", 5), 10),
               other({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0})},
        RawRow{"none", REG_NONE, {7}, other({7})}),
    [](const auto& info) { return std::string(info.param.what); });

// A key made through Win32Registry is the one 64-bit Windows reads itself:
// in the 64-bit view, never only under Wow6432Node.
TEST(RegistryViewTest, KeysLandInTheNativeView) {
    Win32Registry registry;
    const std::string path = unique_key_path("Software\\VeltranoContract");
    ASSERT_TRUE(registry.open(platform::Root::LocalMachine, path, true));
    const std::wstring wide = platform::win32::to_utf16(path);

    unique_hkey key;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.put()),
              ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, key.put()),
              ERROR_FILE_NOT_FOUND);
    key.reset();

    EXPECT_TRUE(platform::delete_key(registry, platform::Root::LocalMachine, path));
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.put()),
              ERROR_FILE_NOT_FOUND);
}

// The key's time is a real FILETIME, close to now.
TEST(RegistryTimeTest, LastWriteTimeIsWallClock) {
    Win32Registry registry;
    const std::string path = unique_key_path("Software\\VeltranoContract");
    auto key = registry.open(platform::Root::CurrentUser, path, true);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set("v", RegValue::number(1)));
    FILETIME now_ft;
    GetSystemTimeAsFileTime(&now_ft);
    const std::uint64_t now = (static_cast<std::uint64_t>(now_ft.dwHighDateTime) << 32) | now_ft.dwLowDateTime;
    const std::uint64_t minute = 60ull * 10000000ull;
    EXPECT_LT(key->last_write_time(), now + minute);
    EXPECT_GT(key->last_write_time(), now - minute);
    key.reset();
    EXPECT_TRUE(platform::delete_key(registry, platform::Root::CurrentUser, path));
}

}  // namespace
}  // namespace veltrano::contract

// The two helpers every Win32 file leans on: UTF-8/UTF-16 conversion and the
// handle owner.
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace veltrano::contract {
namespace {

using platform::win32::to_utf16;
using platform::win32::to_utf8;
using platform::win32::unique_hkey;
using platform::win32::unique_kernel_handle;

struct TextRow {
    const char* utf8;
    std::wstring utf16;
};

class TextTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(TextTest, ConvertsBothWays) {
    EXPECT_EQ(to_utf16(GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(to_utf8(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Text, TextTest,
                         ::testing::Values(TextRow{"", L""}, TextRow{"plain", L"plain"},
                                           TextRow{"Grüße", L"Gr\u00fc\u00dfe"},
                                           TextRow{"日本", L"\u65e5\u672c"},
                                           // Beyond the BMP: one code point, two UTF-16 units.
                                           TextRow{"😀", L"\xd83d\xde00"}));

TEST(TextTest, InnerNulIsKept) {
    EXPECT_EQ(to_utf16(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
    EXPECT_EQ(to_utf8(std::wstring(L"a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextTest, UnpairedSurrogateStillConverts) {
    EXPECT_FALSE(to_utf8(std::wstring(L"a\xd800z")).empty());
}

// Handles made with CreateEventW let the tests see whether the owner closed
// them: a closed handle no longer answers GetHandleInformation.
bool is_open(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(UniqueHandleTest, ClosesOnceWhenItGoesAway) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(raw);
    {
        unique_kernel_handle owner(raw);
        unique_kernel_handle moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.get(), raw);
        EXPECT_TRUE(is_open(raw));
    }
    EXPECT_FALSE(is_open(raw));
}

TEST(UniqueHandleTest, ReleaseGivesUpOwnership) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        unique_kernel_handle owner(raw);
        EXPECT_EQ(owner.release(), raw);
    }
    EXPECT_TRUE(is_open(raw));
    CloseHandle(raw);
}

TEST(UniqueHandleTest, ClosingKeepsTheLastError) {
    // The handle is closed behind the owner's back, so the owner's own close
    // fails and sets ERROR_INVALID_HANDLE, which must not reach the caller.
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    unique_kernel_handle owner(raw);
    CloseHandle(raw);
    SetLastError(ERROR_FILE_NOT_FOUND);
    owner.reset();
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(UniqueHandleTest, KnowsEveryPredefinedRoot) {
    using platform::win32::key_traits;
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_PERFORMANCE_DATA,
                      HKEY_CURRENT_CONFIG, HKEY_DYN_DATA, HKEY_PERFORMANCE_TEXT, HKEY_PERFORMANCE_NLSTEXT})
        EXPECT_TRUE(key_traits::is_predefined(root)) << root;
    unique_hkey opened;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, opened.put()), ERROR_SUCCESS);
    EXPECT_FALSE(key_traits::is_predefined(opened.get()));
}

TEST(UniqueHandleTest, OpenedKeysAreClosed) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &raw), ERROR_SUCCESS);
    { unique_hkey owner(raw); }
    EXPECT_EQ(RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_INVALID_HANDLE);
}

// The GetTickCount64 the toolchain's thread library calls goes through our
// shim (xp_shims.cpp); it must still tell time.
using TickCount64Fn = ULONGLONG(WINAPI*)();
#if defined(__i386__)
extern "C" TickCount64Fn imported_tick_count_64 __asm__("__imp__GetTickCount64@0");
#else
extern "C" TickCount64Fn imported_tick_count_64 __asm__("__imp_GetTickCount64");
#endif

TEST(XpShimTest, TickCount64FollowsTheTickCount) {
    ASSERT_TRUE(imported_tick_count_64);
    const ULONGLONG first = imported_tick_count_64();
    const DWORD low = GetTickCount();
    Sleep(100);
    const ULONGLONG second = imported_tick_count_64();
    // The count moves in steps of up to a few tens of milliseconds.
    EXPECT_GE(second, first + 50);
    EXPECT_LT(second - first, 5000u);
    // Same clock: the low half is the 32-bit count, give or take the wait.
    EXPECT_LT(static_cast<DWORD>(static_cast<DWORD>(second) - low), 5000u);
}

}  // namespace
}  // namespace veltrano::contract

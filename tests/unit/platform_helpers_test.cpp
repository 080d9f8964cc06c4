// The portable helpers every floor shares: the UTF-8 decoder, a key path's
// parent and name, the roots by name, deleting a key.
#include "platform/registry.h"
#include "platform/registry_path.h"
#include "platform/utf8.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

using namespace veltrano;
using platform::Root;

namespace {

TEST(Utf8Test, DecodesWellFormedTextToUtf16) {
    EXPECT_EQ(platform::utf8_to_utf16("a\xC3\xA9\xE2\x82\xAC"), u"a\u00E9\u20AC");
    // Beyond the BMP: a surrogate pair.
    EXPECT_EQ(platform::utf8_to_utf16("\xF0\x9F\x98\x80"), u"\U0001F600");
}

// Each malformed byte is one U+FFFD and decoding resumes at the next byte,
// as Windows' own conversion does. (The .reg backup's former decoder read
// continuation bytes unchecked and took F5 to FF and C0, C1 for leads.)
TEST(Utf8Test, EachMalformedByteBecomesOneReplacement) {
    EXPECT_EQ(platform::utf8_to_utf16("\xC3("), u"\uFFFD(");               // broken sequence
    EXPECT_EQ(platform::utf8_to_utf16("\x80x"), u"\uFFFDx");               // stray continuation
    EXPECT_EQ(platform::utf8_to_utf16("\xC0\xAF"), u"\uFFFD\uFFFD");       // overlong lead
    EXPECT_EQ(platform::utf8_to_utf16("\xF5\x80\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(platform::utf8_to_utf16("x\xE2\x82"), u"x\uFFFD\uFFFD");     // cut short
}

TEST(Utf8Test, SequenceLengthIsZeroWhereNoSequenceStarts) {
    EXPECT_EQ(platform::utf8_sequence_length("a", 0), 1u);
    EXPECT_EQ(platform::utf8_sequence_length("\xE2\x82\xAC", 0), 3u);
    EXPECT_EQ(platform::utf8_sequence_length("\xE2\x82\xAC", 1), 0u);
    EXPECT_EQ(platform::utf8_sequence_length("\xF7\x80\x80\x80", 0), 0u);
}

TEST(RegistryPathTest, ParentAndNameSplitAtTheLastBackslash) {
    using Split = std::pair<std::string, std::string>;
    EXPECT_EQ(platform::parent_and_name("Software\\A\\B"), Split("Software\\A", "B"));
    EXPECT_EQ(platform::parent_and_name("\\Software\\A\\"), Split("\\Software", "A"));
    EXPECT_EQ(platform::parent_and_name("Software"), Split("", "Software"));
}

TEST(RegistryPathTest, RootsAreFoundByTheirFullNamesOnly) {
    for (Root root : platform::kAllRoots) EXPECT_EQ(platform::root_from_name(platform::root_name(root)), root);
    EXPECT_EQ(platform::root_from_name("HKLM"), std::nullopt);
    EXPECT_EQ(platform::root_from_name("hkey_users"), std::nullopt);
}

TEST(RegistryPathTest, DeleteKeyTakesTheSubtreeAndLeavesTheParent) {
    fakes::MemoryRegistry reg;
    reg.put(Root::CurrentUser, "Software\\A\\B\\C", "v", platform::RegValue::number(1));
    EXPECT_TRUE(platform::delete_key(reg, Root::CurrentUser, "Software\\A\\B"));
    EXPECT_FALSE(reg.key_exists(Root::CurrentUser, "Software\\A\\B"));
    EXPECT_TRUE(reg.key_exists(Root::CurrentUser, "Software\\A"));
    EXPECT_FALSE(platform::delete_key(reg, Root::CurrentUser, "Software\\Missing\\B"));
}

}  // namespace

// The one UTF-8 decoder every floor shares. The copies it replaced differed
// on malformed text: the .reg backup's read continuation bytes unchecked and
// took C0, C1 and F5 to FF for lead bytes.
#include "platform/utf8.h"

#include <gtest/gtest.h>

namespace {

// Each malformed byte is one U+FFFD and decoding resumes at the next byte,
// as Windows' own conversion does; well-formed text around it is kept.
TEST(Utf8Test, EachMalformedByteBecomesOneReplacement) {
    using veltrano::platform::utf8_to_utf16;
    EXPECT_EQ(utf8_to_utf16("a\xC3\xA9\xF0\x9F\x98\x80"), u"a\u00E9\U0001F600");  // beyond the BMP: a pair
    EXPECT_EQ(utf8_to_utf16("\xC3("), u"\uFFFD(");                             // broken sequence
    EXPECT_EQ(utf8_to_utf16("\x80x"), u"\uFFFDx");                             // stray continuation
    EXPECT_EQ(utf8_to_utf16("\xC0\xAF"), u"\uFFFD\uFFFD");                     // overlong lead
    EXPECT_EQ(utf8_to_utf16("\xF5\x80\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // no such lead
    EXPECT_EQ(utf8_to_utf16("x\xE2\x82"), u"x\uFFFD\uFFFD");                   // cut short
}

}  // namespace

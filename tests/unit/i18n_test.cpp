// The catalogues as the build makes them, the placeholders, and which
// language a user gets.
#include "i18n/languages.h"
#include "i18n/numbers.h"
#include "i18n/translate.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <vector>

namespace veltrano::i18n {
namespace {

std::vector<std::uint8_t> read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string gettext_name(std::string_view code) {
    std::string name(code);
    if (auto dash = name.find('-'); dash != std::string::npos) name[dash] = '_';
    return name;
}

std::size_t texts_in_template() {
    std::ifstream pot(VELTRANO_POT);
    std::size_t count = 0;
    for (std::string line; std::getline(pot, line);)
        if (line.rfind("msgid \"", 0) == 0) ++count;
    return count - 1;  // the header
}

// Every language's catalogue, as msgfmt wrote it into the exe, reads whole
// with our reader: each text of the template is found translated, with the
// English's placeholders.
TEST(Catalogues, EachLanguageReadsWholeWithTheEnglishPlaceholders) {
    const std::size_t expected = texts_in_template();
    ASSERT_GT(expected, 0u);
    const std::regex placeholder(R"(\{[0-9]\})");
    for (const Language& language : languages()) {
        if (language.code == "en") continue;
        SCOPED_TRACE(std::string(language.code));
        const auto bytes = read_all(std::string(VELTRANO_CATALOGUE_DIR) + "/" + gettext_name(language.code) + ".mo");
        const Catalogue catalogue = Catalogue::from_mo(bytes);
        EXPECT_EQ(catalogue.size(), expected);
        use_catalogue(catalogue);
        const std::string applied = trf("Applied {0} of {1} selected choices. The activity log says why the others "
                                        "could not be applied. ", "3", "5");
        EXPECT_NE(applied.find('3'), std::string::npos);
        EXPECT_NE(applied.find('5'), std::string::npos);
        EXPECT_FALSE(std::regex_search(applied, placeholder));
    }
    use_catalogue({});
    EXPECT_EQ(tr("Apply"), "Apply");
}

TEST(Catalogues, AFileThatIsNoCatalogueIsRefused) {
    const std::vector<std::uint8_t> none{'m', 's', 'g', 'i', 'd', ' ', '"', '"'};
    EXPECT_THROW(Catalogue::from_mo(none), std::runtime_error);
    // A real header whose table points past the end.
    std::vector<std::uint8_t> cut{0xde, 0x12, 0x04, 0x95, 0, 0, 0, 0, 5, 0, 0, 0, 28, 0, 0, 0, 68, 0, 0, 0};
    EXPECT_THROW(Catalogue::from_mo(cut), std::runtime_error);
}

TEST(Placeholders, FillInAnyOrderAndLeaveTheRest) {
    EXPECT_EQ(fill_placeholders("{1} of {0}", {"a", "b"}), "b of a");
    EXPECT_EQ(fill_placeholders("{0}{0} {2}", {"x"}), "xx {2}");
    EXPECT_EQ(fill_placeholders("{{0}} {D6277990-4C6A}", {"x"}), "{0} {D6277990-4C6A}");
}

TEST(LanguageChoice, CommandLineThenRememberedThenWindowsThenEnglish) {
    constexpr std::uint16_t german_austria = 0x0c07, portuguese_portugal = 0x0816, chinese_taiwan = 0x0404,
                            arabic = 0x0401, english_uk = 0x0809;
    EXPECT_EQ(choose_language("", "", german_austria).code, "de");
    EXPECT_EQ(choose_language("", "", portuguese_portugal).code, "pt-BR");
    EXPECT_EQ(choose_language("", "", chinese_taiwan).code, "zh-CN");
    EXPECT_EQ(choose_language("", "", arabic).code, "en");
    EXPECT_EQ(choose_language("", "", english_uk).code, "en");
    EXPECT_EQ(choose_language("", "ru", german_austria).code, "ru");
    EXPECT_EQ(choose_language("JA", "ru", german_austria).code, "ja");
    EXPECT_EQ(choose_language("zh", "", arabic).code, "zh-CN");
    EXPECT_EQ(choose_language("xx", "klingon", german_austria).code, "de");
}

}  // namespace
}  // namespace veltrano::i18n

namespace veltrano::i18n {
namespace {

TEST(Numbers, GroupedAsTheRegionalSettingsSay) {
    EXPECT_EQ(grouped(1234567), "1,234,567");
    use_thousands_separator(".");
    EXPECT_EQ(grouped(1234567), "1.234.567");
    EXPECT_EQ(grouped(999), "999");
    use_thousands_separator("\xc2\xa0");
    EXPECT_EQ(grouped(12345), "12\xc2\xa0" "345");
    use_thousands_separator(",");
}

}  // namespace
}  // namespace veltrano::i18n

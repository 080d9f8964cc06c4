// The help pages against the tables they are drawn from: every help link
// lands on its page and anchor, and every tip's section names what its
// Apply writes and its Undo touches.
#include "i18n/translate.h"
#include "tips/groups.h"
#include "tools/helpgen/help_pages.h"
#include "tools/helpgen/prose.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace veltrano::helpgen {
namespace {

const std::map<std::string, std::string>& pages() {
    static const auto rendered = render_help_pages();
    return rendered;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The text of one tip's section: from its heading to the next heading of
// a tip or the end of the page.
std::string section(int tip) {
    const tips::TipDisplay& t = tips::tip_display(tip);
    const std::string& html = pages().at(std::string(tips::help_page(t.help_link)));
    const auto start = html.find("<h2>Tip " + std::to_string(tip) + ":");
    if (start == std::string::npos) return {};
    return html.substr(start, html.find("<h2>", start + 1) - start);
}

TEST(HelpPages, AreTheFivePagesTheLinksName) {
    std::vector<std::string> names;
    for (const auto& [name, html] : pages()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"tip0025.htm", "tip0050.htm", "tip0075.htm", "tip0100.htm",
                                               "tip0125.htm"}));
}

class EveryTip : public ::testing::TestWithParam<int> {};

TEST_P(EveryTip, LinkLandsOnOneAnchorFollowedByItsSection) {
    const tips::TipDisplay& t = tips::tip_display(GetParam());
    const std::string& html = pages().at(std::string(tips::help_page(t.help_link)));
    const std::string anchor = "<a name=\"" + std::string(tips::help_anchor(t.help_link)) + "\"></a>";
    ASSERT_EQ(count(html, anchor), 1u) << anchor;
    // Tips sharing an anchor sit one after the other below it.
    const auto own = html.find("<h2>Tip " + std::to_string(t.tip) + ":");
    ASSERT_NE(own, std::string::npos);
    EXPECT_LT(html.find(anchor), own);
    EXPECT_EQ(html.find("<a name=", html.find(anchor) + 1) > own, true) << "another anchor comes between";
}

TEST_P(EveryTip, SectionNamesWhatApplyWritesAndUndoTouches) {
    const int tip = GetParam();
    const std::string text = section(tip);
    ASSERT_FALSE(text.empty());
    const tips::GroupTables* all[] = {&tips::network_tables(), &tips::power_tables(), &tips::system_tables(),
                                      &tips::customization_tables()};
    for (const tips::GroupTables* tables : all) {
        for (const tips::WriteRow& w : tables->writes)
            if (w.tip == tip) {
                EXPECT_NE(text.find(std::string(w.key)), std::string::npos) << w.key;
                EXPECT_NE(text.find(w.value.empty() ? "(Default)" : std::string(w.value)), std::string::npos);
                const std::string data = w.type == core::INT_TYPE ? std::to_string(w.num) : "&quot;" + std::string(w.str) + "&quot;";
                EXPECT_NE(text.find(data), std::string::npos) << data;
            }
        for (const tips::RestoreStep& s : tables->restore)
            if (s.tip == tip && s.action == tips::RestoreStep::Action::Write) {
                const std::string data = s.type == core::INT_TYPE ? std::to_string(s.num) : "&quot;" + std::string(s.str) + "&quot;";
                EXPECT_NE(text.find("sets it to " + data), std::string::npos) << data;
            }
    }
    const TipProse& prose = kTipProse.at(static_cast<std::size_t>(tip - 1));
    EXPECT_EQ(prose.tip, tip) << "the prose table is out of order";
    EXPECT_FALSE(prose.purpose.empty());
    EXPECT_FALSE(prose.good_for.empty());
    EXPECT_FALSE(prose.risky_for.empty());
}

INSTANTIATE_TEST_SUITE_P(Tips, EveryTip, ::testing::Range(1, 49));

TEST(HelpPages, SharedAnchorsHoldEveryTipThatNamesThem) {
    // 20 and 21, 43 and 44, 12 and 26 open the same place.
    for (auto [a, b] : {std::pair{20, 21}, std::pair{43, 44}, std::pair{12, 26}}) {
        ASSERT_EQ(tips::tip_display(a).help_link, tips::tip_display(b).help_link);
        EXPECT_FALSE(section(a).empty());
        EXPECT_FALSE(section(b).empty());
    }
}

TEST(HelpPages, TipsWhoseWorkIsAFunctionSayInWordsWhatTheyChange) {
    for (int tip : {3, 5, 7, 32, 34, 41}) EXPECT_FALSE(kTipProse.at(static_cast<std::size_t>(tip - 1)).changes.empty()) << tip;
}

// A catalogue of one translation, as msgfmt lays it out: the header, the
// tables of English and translated texts, then the texts.
i18n::Catalogue one_translation(const std::string& english, const std::string& translated) {
    std::vector<std::uint8_t> mo;
    const auto word = [&](std::uint32_t w) {
        for (int i = 0; i < 4; ++i) mo.push_back(static_cast<std::uint8_t>(w >> (8 * i)));
    };
    const std::uint32_t texts = 28 + 16;
    for (std::uint32_t w : {0x950412deu, 0u, 1u, 28u, 36u, 0u, 0u}) word(w);
    word(static_cast<std::uint32_t>(english.size()));
    word(texts);
    word(static_cast<std::uint32_t>(translated.size()));
    word(texts + static_cast<std::uint32_t>(english.size()) + 1);
    for (const std::string* text : {&english, &translated}) {
        mo.insert(mo.end(), text->begin(), text->end());
        mo.push_back(0);
    }
    return i18n::Catalogue::from_mo(mo);
}

TEST(HelpPages, TranslatedPagesSpeakTheirCatalogueAndNameTheirLanguage) {
    const i18n::Language& german = *i18n::language_by_code("de");
    i18n::use_language(german, one_translation("What Undo puts back", "Was R\xc3\xbckg\xc3\xa4ngig zur\xc3\xbccksetzt"));
    const auto translated = render_help_pages(german);
    i18n::use_language(i18n::english(), {});

    ASSERT_EQ(translated.size(), pages().size());
    for (const auto& [name, html] : translated) {
        EXPECT_EQ(html.rfind("<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">", 0), 0u) << name;
        EXPECT_NE(html.find("<h3>Was R\xc3\xbckg\xc3\xa4ngig zur\xc3\xbccksetzt</h3>"), std::string::npos) << name;
        EXPECT_EQ(html.find("What Undo puts back"), std::string::npos) << name;
    }
    for (const auto& [name, html] : pages()) EXPECT_EQ(html.rfind("<!DOCTYPE html>\n<html>\n", 0), 0u) << name;
}

}  // namespace
}  // namespace veltrano::helpgen

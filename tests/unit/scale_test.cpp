// The pages' declarations at a larger DPI: every box grows by the DPI's
// factor within a pixel, nothing that stood apart comes to overlap, nothing
// leaves its page.
#include "shell/page_table.h"
#include "tips/catalogue.h"
#include "ui/scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace veltrano;

namespace {

TEST(Scale, RoundsAsMulDivDoes) {
    struct Row {
        int value, dpi, expected;
    };
    // 16.5 rounds away from zero, either sign.
    for (const Row& r : {Row{11, 120, 14}, Row{-11, 120, -14}, Row{11, 144, 17}, Row{-11, 144, -17},
                         Row{614, 96, 614}, Row{614, 120, 768}, Row{584, 144, 876}, Row{0, 144, 0}})
        EXPECT_EQ(ui::scale(r.value, r.dpi), r.expected) << r.value << " at " << r.dpi;
    // A font never grows past the layout: -11 is -13 at 120 DPI, -16 at 144.
    for (const Row& r : {Row{-11, 96, -11}, Row{-11, 120, -13}, Row{-11, 144, -16}, Row{-13, 120, -16}})
        EXPECT_EQ(ui::scale_font(r.value, r.dpi), r.expected) << r.value << " at " << r.dpi;
}

struct Declared {
    std::string name;
    ui::Box box;
    bool help_image = false;  // 25 high on rows 24 apart: the pictures touch by a pixel
};

struct PageBoxes {
    std::string page;
    ui::Box frame;  // the page in the main window
    std::vector<Declared> inside;  // within the page
};

ui::Box box(const tips::Rect& r) { return {r.left, r.top, r.width, r.height}; }

std::vector<PageBoxes> every_page() {
    std::vector<PageBoxes> pages;
    for (const shell::PageRow& row : shell::page_table())
        pages.push_back({std::string(row.group_box), {shell::kPageLeft, shell::kPageTop, shell::kPageWidth, row.height}, {}});
    const auto page = [&](std::string_view name) -> PageBoxes& {
        for (PageBoxes& p : pages)
            if (p.page == name) return p;
        throw std::runtime_error("no page " + std::string(name));
    };
    for (const tips::GroupDisplay& g : tips::kGroupDisplay) {
        PageBoxes& p = page(g.group_box);
        for (int tip = g.first_tip; tip <= g.last_tip; ++tip) {
            p.inside.push_back({std::string(tips::tip_display(tip).check_box), box(tips::check_box_rect(tip))});
            p.inside.push_back({std::string(tips::tip_display(tip).help_image), box(tips::help_image_rect(tip)), true});
        }
        for (const tips::ButtonDisplay& b : {g.select_all, g.clear_all, g.apply})
            p.inside.push_back({std::string(b.name), box(b.rect)});
    }
    PageBoxes& undo = page(tips::kUndoGroupBox);
    for (std::size_t line = 0; line < tips::kUndoLines.size(); ++line)
        undo.inside.push_back({std::string(tips::kUndoLines[line].frame), box(tips::undo_frame_rect(line))});
    for (const tips::ButtonDisplay& b : {tips::kUndoButtons.select_all, tips::kUndoButtons.clear_all, tips::kUndoButtons.undo})
        undo.inside.push_back({std::string(b.name), box(b.rect)});
    return pages;
}

bool overlap(const ui::Box& a, const ui::Box& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

bool within(const ui::Box& inner, const ui::Box& outer) {
    return inner.left >= 0 && inner.top >= 0 && inner.left + inner.width <= outer.width &&
           inner.top + inner.height <= outer.height;
}

// At 96 DPI no control of a page overlaps another (the widened captions stay
// in the room beside them; only the help pictures touch each other), and
// what stands apart at 96 DPI stands apart at 120 and 144.
class PagesAtDpi : public testing::TestWithParam<int> {};

TEST_P(PagesAtDpi, GrowByTheFactorWithoutOverlapOrLeavingThePage) {
    const int dpi = GetParam();
    const double factor = dpi / 96.0;
    for (const PageBoxes& page : every_page()) {
        const ui::Box frame = ui::scale(page.frame, dpi);
        EXPECT_NEAR(frame.width, page.frame.width * factor, 1.0) << page.page;
        EXPECT_NEAR(frame.height, page.frame.height * factor, 1.0) << page.page;
        for (std::size_t i = 0; i < page.inside.size(); ++i) {
            const Declared& a = page.inside[i];
            const ui::Box scaled = ui::scale(a.box, dpi);
            EXPECT_NEAR(scaled.left, a.box.left * factor, 0.5) << a.name;
            EXPECT_NEAR(scaled.top, a.box.top * factor, 0.5) << a.name;
            EXPECT_NEAR(scaled.width, a.box.width * factor, 1.0) << a.name;
            EXPECT_NEAR(scaled.height, a.box.height * factor, 1.0) << a.name;
            EXPECT_TRUE(within(a.box, page.frame)) << a.name << " leaves " << page.page;
            EXPECT_TRUE(within(scaled, frame)) << a.name << " leaves " << page.page << " at " << dpi;
            for (std::size_t j = i + 1; j < page.inside.size(); ++j) {
                const Declared& b = page.inside[j];
                if (a.help_image && b.help_image) continue;
                EXPECT_FALSE(overlap(a.box, b.box)) << a.name << " and " << b.name;
                EXPECT_FALSE(overlap(scaled, ui::scale(b.box, dpi))) << a.name << " and " << b.name << " at " << dpi;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, PagesAtDpi, testing::Values(96, 120, 144));

}  // namespace

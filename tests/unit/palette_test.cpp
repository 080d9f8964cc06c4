// High Contrast: every colour the screen asks for comes from the system's,
// none of ours is left; without it, ours as before.
#include "ui/palette.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace veltrano;

namespace {

// Colours no program would choose, so any of ours among them shows.
constexpr ui::SystemColours kSystem{ui::rgb(1, 2, 3), ui::rgb(4, 5, 6), ui::rgb(7, 8, 9), ui::rgb(10, 11, 12),
                                    ui::rgb(13, 14, 15)};

struct Role {
    std::string name;
    std::function<ui::Colour(const ui::Palette&)> colour;
    ui::Colour own;
};

std::vector<Role> every_role() {
    const ui::Colour blue = ui::rgb(0, 0, 255), maroon = ui::rgb(128, 0, 0);
    return {
        {"ground", [](const ui::Palette& p) { return p.ground(); }, ui::kWhite},
        {"blue text", [=](const ui::Palette& p) { return p.text(blue); }, blue},
        {"maroon text", [=](const ui::Palette& p) { return p.text(maroon); }, maroon},
        {"link", [](const ui::Palette& p) { return p.link(); }, ui::kLinkColour},
        {"log text", [](const ui::Palette& p) { return p.log_text(); }, ui::kLogGreen},
        {"log caption ground", [](const ui::Palette& p) { return p.log_caption_ground(); }, ui::kCream},
        {"current entry ground", [](const ui::Palette& p) { return p.current_entry_ground(); }, ui::kCurrentGround},
        {"current entry text", [](const ui::Palette& p) { return p.current_entry_text(); }, ui::kLinkColour},
    };
}

TEST(Palette, HighContrastGivesEveryRoleASystemColourAndOffKeepsOurs) {
    const std::set<ui::Colour> system{kSystem.window, kSystem.window_text, kSystem.highlight, kSystem.highlight_text,
                                      kSystem.hot_light};
    const ui::Palette on{true, kSystem}, off{false, kSystem};
    for (const Role& role : every_role()) {
        EXPECT_TRUE(system.count(role.colour(on))) << role.name;
        EXPECT_EQ(role.colour(off), role.own) << role.name;
    }
    // Text stands on its ground in the system's pair, not on a ground of ours.
    EXPECT_EQ(on.text(ui::kWhite), kSystem.window_text);
    EXPECT_EQ(on.ground(), kSystem.window);
    EXPECT_EQ(on.current_entry_text(), kSystem.highlight_text);
    EXPECT_EQ(on.current_entry_ground(), kSystem.highlight);
}

}  // namespace

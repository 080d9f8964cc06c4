// The main window's pages and its navigation bar, as data.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace veltrano::shell {

enum class Page { Welcome, Network, Power, System, Customize, Undo, RegClean, Process, Admin };
inline constexpr std::size_t kPageCount = 9;

struct PageInfo {
    Page page;
    std::string_view group_box;
    std::string_view caption;
    int height;       // tall pages cover the activity log area
    bool shows_log;
};

inline constexpr int kPageLeft = 8, kPageTop = 88, kPageWidth = 600;
inline constexpr int kShortPageHeight = 345, kTallPageHeight = 489;

inline constexpr std::array<PageInfo, kPageCount> kPages{{
    {Page::Welcome, "GroupBox3", "Main Screen", kTallPageHeight, false},
    {Page::Network, "GroupBox2", "Your network boosting choices", kShortPageHeight, true},
    {Page::Power, "GroupBox4", "Your power saving choices", kShortPageHeight, true},
    {Page::System, "GroupBox5", "Your system tuning choices", kShortPageHeight, true},
    {Page::Customize, "GroupBox6", "Your customization choices", kShortPageHeight, true},
    {Page::Undo, "GroupBox7", "Undo Options", kShortPageHeight, true},
    {Page::RegClean, "GroupBox14", "Registry Analyser and Cleaner", kTallPageHeight, false},
    {Page::Process, "GroupBox17", "System Process list", kTallPageHeight, false},
    {Page::Admin, "GroupBox18", "Admin Options", kShortPageHeight, true},
}};

constexpr const PageInfo& page_info(Page page) { return kPages[static_cast<std::size_t>(page)]; }

// An entry of the navigation bar: an icon with its caption above it, both
// clickable. Exit is no page; it has its own handler.
struct NavEntry {
    std::string_view caption;
    std::string_view caption_component;
    std::string_view icon;  // also the name of its bitmap resource
    bool is_exit;
    Page target;
    bool nt_only;
};

inline constexpr std::array<NavEntry, 10> kNavigation{{
    {"Main", "StaticText6", "Image_welcome_screen", false, Page::Welcome, false},
    {"Network", "StaticText1", "Image_network_options", false, Page::Network, true},
    {"Power", "StaticText3", "Image_power_options", false, Page::Power, true},
    {"System", "StaticText4", "Image_system_options", false, Page::System, true},
    {"Customize", "StaticText5", "Image_customization_options", false, Page::Customize, true},
    {"Undo ", "StaticText7", "Image_undo_options", false, Page::Undo, true},
    {"RegClean", "StaticText9", "Image_regclean_option", false, Page::RegClean, true},
    {"Process", "StaticText14", "Image_process_monitor", false, Page::Process, true},
    {"Admin", "StaticText11", "Image_admin_options", false, Page::Admin, true},
    {"Exit", "StaticText2", "Image_exit_options", true, Page::Welcome, false},
}};

}  // namespace veltrano::shell

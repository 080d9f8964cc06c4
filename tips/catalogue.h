// What the screen and the help pages need to know of the 48 tips and the
// Undo page: which check box, caption, help image and help anchor belongs to
// each tip, and where the controls of each page stand. The tip logic reads
// the same table, so the pages, the logic and the help can never disagree.
//
// Positions are in pixels inside the page's group box. The System and
// Customize pages keep the positions of the original program; the Network,
// Power and Undo pages never had theirs written down, so theirs are ours,
// on the same grid (rows from top 24, help image 32 pixels left of and 8
// above its box, buttons on the bottom row at top 312).
#pragma once

#include "core/tip_state_store.h"
#include "i18n/translate.h"
#include "ui/control_ref.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace veltrano::tips {

using i18n::N_;

enum class Group { Network, Power, System, Customization };
inline constexpr std::size_t kGroupCount = 4;
using core::kTipCount;

struct TipDisplay {
    int tip;
    Group group;
    ui::CheckBox check_box;
    std::string_view caption;     // exact, blanks and misspellings included
    std::string_view help_image;  // component name; its click handler is this + "Click"
    std::string_view help_link;   // page and anchor on the help site, "tip0025.htm#marker4"
};

inline constexpr std::array<TipDisplay, kTipCount> kTipDisplay{{
    {1, Group::Network, ui::CheckBox{"CheckBox1"}, N_("Boost Internet Speed by increasing DNS Cache Size"), "Network_1_increase_dns_cache_size", "tip0025.htm#marker4"},
    {2, Group::Network, ui::CheckBox{"CheckBox2"}, N_("Boost Network Speed by increasing network redirector reserves"), "Network_2_network_redirector", "tip0025.htm#marker12"},
    {3, Group::Network, ui::CheckBox{"CheckBox3"}, N_("Boost Internet Speed by enabling automatic path MTU size detection"), "Network_3_auto_mtu_path", "tip0075.htm#marker53"},
    {4, Group::Network, ui::CheckBox{"CheckBox4"}, N_("Boost network performace by enhancing thread priority (AFD.SYS tweak)"), "Network_4_thread_priority_afd_sys", "tip0075.htm#marker58"},
    {5, Group::Network, ui::CheckBox{"CheckBox5"}, N_("Boost Internet explorer load time by removing scheduled tasks scan"), "Network_5_remove_scheduled_tasks_scan", "tip0100.htm#marker82"},
    {6, Group::Network, ui::CheckBox{"CheckBox6"}, N_("Boost number of internet connections per HTTP server "), "Network_6_connections_http_server", "tip0100.htm#marker98"},
    {7, Group::Network, ui::CheckBox{"CheckBox7"}, N_("Boost network speed by properly setting MTU size"), "Network_7_setting_mtu_size", "tip0075.htm#marker52"},
    {8, Group::Power, ui::CheckBox{"CheckBox8"}, N_("Reduce power usage by specifing a typical role for your computer"), "power_shutdown_1_set_typical_role", "tip0100.htm#marker88"},
    {9, Group::Power, ui::CheckBox{"CheckBox9"}, N_("Reduce shut down delays by reducing wait time before computer powers off"), "power_shutdown_2_reduce_wait_time_to_shutoff", "tip0050.htm#marker39"},
    {10, Group::Power, ui::CheckBox{"CheckBox10"}, N_("Reduce shut down delays by auto killing non responding tasks"), "power_shutdown_3_autokill_non_responding_tasks", "tip0125.htm#marker106"},
    {11, Group::Power, ui::CheckBox{"CheckBox11"}, N_("Reduce shut down delays by not saving session's settings"), "power_shutdown_4_do_not_save_sessions_settings", "tip0125.htm#marker107"},
    {12, Group::Power, ui::CheckBox{"CheckBox12"}, N_("Reduce shut down delays by enabling auto power off"), "power_shutdown_5_enable_auto_power_off", "tip0100.htm#marker90"},
    {13, Group::System, ui::CheckBox{"CheckBox13"}, N_("Disable Paging Executive "), "system_1_disable_paging_executive", "tip0050.htm#marker31"},
    {14, Group::System, ui::CheckBox{"CheckBox14"}, N_("Change IRQ clock priority"), "system_2_change_irq_priority", "tip0050.htm#marker32"},
    {15, Group::System, ui::CheckBox{"CheckBox15"}, N_("Reduce IO by increasing pagesize limit"), "system_3_pagesize_limit", "tip0050.htm#marker33"},
    {16, Group::System, ui::CheckBox{"CheckBox16"}, N_("Defrag key boot files"), "system_4_defrag_key_boot_files", "tip0050.htm#marker40"},
    {17, Group::System, ui::CheckBox{"CheckBox17"}, N_("Increase MFT size to 25%"), "system_5_mft_size", "tip0050.htm#marker46"},
    {18, Group::System, ui::CheckBox{"CheckBox18"}, N_("Disable 8dot3 filename creation"), "system_6_diable_8dot3", "tip0050.htm#marker47"},
    {19, Group::System, ui::CheckBox{"CheckBox19"}, N_("Set Low Level Hooks Timeout"), "system_7_set_lowleveltimeout", "tip0050.htm#marker50"},
    {20, Group::System, ui::CheckBox{"CheckBox20"}, N_("Tuneup EFS cache validation"), "system_8_tuneup_efs_cache", "tip0075.htm#marker69"},
    {21, Group::System, ui::CheckBox{"CheckBox21"}, N_("Increase EFS cache validation period"), "system_9_efs_cache_validation_period", "tip0075.htm#marker69"},
    {22, Group::System, ui::CheckBox{"CheckBox22"}, N_("Always unload dlls from memory"), "system_10_always_unload_dlls", "tip0075.htm#marker67"},
    {23, Group::System, ui::CheckBox{"CheckBox23"}, N_("Enable UDMA66 mode"), "system_11_enable_udma66", "tip0100.htm#marker87"},
    {24, Group::System, ui::CheckBox{"CheckBox24"}, N_("Run explorer in its own process space"), "system_12_explorer_own_space", "tip0125.htm#marker101"},
    {25, Group::System, ui::CheckBox{"CheckBox25"}, N_("Enable large system cache"), "system_13_enable_large_system_cache", "tip0125.htm#marker103"},
    {26, Group::System, ui::CheckBox{"CheckBox26"}, N_("Run Desktop in its own process space"), "system_14_desktop_own_space", "tip0100.htm#marker90"},
    {27, Group::System, ui::CheckBox{"CheckBox27"}, N_("Restrict uPnP  to same subnet or private address"), "system_15_restricted_upnp", "tip0075.htm#marker72"},
    {28, Group::System, ui::CheckBox{"CheckBox28"}, N_("Enable advanced file system security options"), "system_16_enable_advanced_file_system", "tip0075.htm#marker102"},
    {29, Group::System, ui::CheckBox{"CheckBox29"}, N_("Run internet explorer in its own process space"), "system_17_internet_explorer_space", "tip0100.htm#marker94"},
    {30, Group::System, ui::CheckBox{"CheckBox30"}, N_("Protect your system by locking known dll's list"), "system_18_locking_known_dll_list", "tip0075.htm#marker68"},
    {31, Group::Customization, ui::CheckBox{"CheckBox31"}, N_("Use Clear Type fonts in welcome screen"), "customization_1_clear_type_fonts", "tip0025.htm#marker2"},
    {32, Group::Customization, ui::CheckBox{"CheckBox32"}, N_("Remove my shared documents folder"), "customization_2_remove_my_shared_folder", "tip0025.htm#marker5"},
    {33, Group::Customization, ui::CheckBox{"CheckBox33"}, N_("Speed Up Start Menu display"), "customization_3_speed_up_start_menu", "tip0025.htm#marker11"},
    {34, Group::Customization, ui::CheckBox{"CheckBox34"}, N_("Remove Recyle Bin from Desktop"), "customization_4_remove_recycle_bin", "tip0025.htm#marker15"},
    {35, Group::Customization, ui::CheckBox{"CheckBox35"}, N_("Synchronize with atomic servers every day"), "customization_5_sychronize_atomic_server", "tip0050.htm#marker28"},
    {36, Group::Customization, ui::CheckBox{"CheckBox36"}, N_("Switch numlock off at boot time"), "customization_6_numlock_off", "tip0100.htm#marker95"},
    {37, Group::Customization, ui::CheckBox{"CheckBox37"}, N_("Disable parsing of autoexec.bat"), "customization_7_disable_autoexec_bat_parsing", "tip0125.htm#marker104"},
    {38, Group::Customization, ui::CheckBox{"CheckBox38"}, N_("Enable auto reboot at BSOD "), "customization_8_auto_reboot", "tip0125.htm#marker109"},
    {39, Group::Customization, ui::CheckBox{"CheckBox39"}, N_("Increase taskbargroupsize to 5 instances"), "customization_9_set_taskbargroupsize", "tip0125.htm#marker112"},
    {40, Group::Customization, ui::CheckBox{"CheckBox40"}, N_("Clear last changed key from registry memory"), "customization_10_reset_register_memory", "tip0125.htm#marker115"},
    {41, Group::Customization, ui::CheckBox{"CheckBox41"}, N_("Disable MSN Messenger load up with Outlook Express"), "customization_11_disable_msn_messenger_load_up", "tip0125.htm#marker117"},
    {42, Group::Customization, ui::CheckBox{"CheckBox42"}, N_("Align Start menu entries to the right"), "customization_12_align_start_menu", "tip0125.htm#marker118"},
    {43, Group::Customization, ui::CheckBox{"CheckBox43"}, N_("Make Windows Explorer search case sensitive"), "customization_13_make_explorer_search_case_sensitive", "tip0125.htm#marker119"},
    {44, Group::Customization, ui::CheckBox{"CheckBox44"}, N_("Make Windows Explorer seach hidden files"), "customization_14_make_explorer_search_hidden_files", "tip0125.htm#marker119"},
    {45, Group::Customization, ui::CheckBox{"CheckBox45"}, N_("View File Attributes column in Windows Explorer"), "customization_15_view_file_attributes_column", "tip0125.htm#marker120"},
    {46, Group::Customization, ui::CheckBox{"CheckBox46"}, N_("Protect Start Menu by restricting modifications"), "customization_16_restrict_start_menu_modifications", "tip0125.htm#marker121"},
    {47, Group::Customization, ui::CheckBox{"CheckBox47"}, N_("Refresh thumbnail pictures in Windows Explorer"), "customization_17_refresh_thumbnail_pictures", "tip0125.htm#marker123"},
    {48, Group::Customization, ui::CheckBox{"CheckBox48"}, N_("Disable XP's  built in CD burning capabilties"), "customization_18_disable_xp_cd_burning", "tip0125.htm#marker124"},
}};

constexpr const TipDisplay& tip_display(int tip) { return kTipDisplay.at(static_cast<std::size_t>(tip - 1)); }

// "tip0025.htm#marker4" is the page "tip0025.htm" and the anchor "marker4".
constexpr std::string_view help_page(std::string_view link) { return link.substr(0, link.find('#')); }
constexpr std::string_view help_anchor(std::string_view link) {
    const auto hash = link.find('#');
    return hash == std::string_view::npos ? std::string_view{} : link.substr(hash + 1);
}

struct Rect {
    int left, top, width, height;
};

struct ButtonDisplay {
    std::string_view name;     // "BitBtn3"
    std::string_view caption;  // "&" marks the mnemonic
    Rect rect;
};

// A group's page: its title and place in the main window are the page
// table's; what stands inside is here.
struct GroupDisplay {
    Group group;
    std::string_view name;        // "Network": how the command line and its log name the group
    ui::GroupBox group_box;       // the page
    int first_tip, last_tip;
    core::GroupUndoneValue undone;  // the group's undo state in the store
    ButtonDisplay select_all, clear_all, apply;
    // Tips up to this one stand in the left column, the rest in the right.
    int last_left_tip;
    int row_step;
};

inline constexpr int kCheckBoxHeight = 17;
inline constexpr int kHelpImageSize = 25;
inline constexpr int kButtonTop = 312, kButtonWidth = 97, kButtonHeight = 25;

inline constexpr std::array<GroupDisplay, kGroupCount> kGroupDisplay{{
    {Group::Network, "Network", ui::GroupBox{"GroupBox2"}, 1, 7, core::kNetworkUndone,
     {"BitBtn3", N_("&Select All"), {8, kButtonTop, kButtonWidth, kButtonHeight}},
     {"BitBtn4", N_("Clea&r All"), {120, kButtonTop, kButtonWidth, kButtonHeight}},
     {"BitBtn5", N_("&Apply"), {240, kButtonTop, kButtonWidth, kButtonHeight}},
     7, 32},
    {Group::Power, "Power", ui::GroupBox{"GroupBox4"}, 8, 12, core::kPowerUndone,
     {"BitBtn6", N_("&Select All"), {8, kButtonTop, kButtonWidth, kButtonHeight}},
     {"BitBtn7", N_("Clea&r All"), {120, kButtonTop, kButtonWidth, kButtonHeight}},
     {"BitBtn8", N_("&Apply"), {240, kButtonTop, kButtonWidth, kButtonHeight}},
     12, 32},
    {Group::System, "System", ui::GroupBox{"GroupBox5"}, 13, 30, core::kSystemUndone,
     {"BitBtn9", N_("&Select All"), {8, kButtonTop, kButtonWidth, kButtonHeight}},
     {"BitBtn10", N_("Clea&r All"), {120, kButtonTop, kButtonWidth, kButtonHeight}},
     {"BitBtn11", N_("&Apply"), {224, kButtonTop, kButtonWidth, kButtonHeight}},
     23, 24},
    {Group::Customization, "Customization", ui::GroupBox{"GroupBox6"}, 31, 48, core::kCustomizationUndone,
     {"BitBtn12", N_("&Select All"), {8, kButtonTop, kButtonWidth, kButtonHeight}},
     {"BitBtn13", N_("Clea&r All"), {120, kButtonTop, kButtonWidth, kButtonHeight}},
     {"BitBtn14", N_("&Apply"), {240, kButtonTop, kButtonWidth, kButtonHeight}},
     41, 24},
}};

constexpr const GroupDisplay& group_display(Group group) { return kGroupDisplay[static_cast<std::size_t>(group)]; }

// Each row sits at its tip's number, inside its group's range.
constexpr bool display_rows_in_order() {
    for (std::size_t i = 0; i < kTipDisplay.size(); ++i) {
        const TipDisplay& t = kTipDisplay[i];
        const GroupDisplay& g = kGroupDisplay[static_cast<std::size_t>(t.group)];
        if (t.tip != static_cast<int>(i) + 1 || t.tip < g.first_tip || t.tip > g.last_tip) return false;
    }
    return true;
}
static_assert(display_rows_in_order());

// A page with one column gives its long captions the whole width; so does a
// row of the left column with nothing beside it ("Disable MSN Messenger load
// up with Outlook Express" was cut at 260 pixels). The right column reaches
// the page's etched frame, 2 pixels inside its 600: at 256 "Restrict uPnP
// to same subnet or private address" lost its last letters, and at 120 and
// 144 DPI, where the font grows a little more than the page, two captions
// more.
constexpr Rect check_box_rect(int tip) {
    const GroupDisplay& g = group_display(tip_display(tip).group);
    const bool left = tip <= g.last_left_tip;
    const int row = left ? tip - g.first_tip : tip - g.last_left_tip - 1;
    const bool alone_on_row = left && row >= g.last_tip - g.last_left_tip;
    const int width = alone_on_row ? 550 : left ? 260 : 262;
    return {left ? 40 : 336, 24 + row * g.row_step, width, kCheckBoxHeight};
}

constexpr Rect help_image_rect(int tip) {
    const Rect box = check_box_rect(tip);
    return {box.left - 32, box.top - 8, kHelpImageSize, kHelpImageSize};
}

// The Undo page, GroupBox7 "Undo Options": one frame per group, top to
// bottom. The previous-settings radio button is created but never shown;
// the factory-default one starts selected.
struct UndoLineDisplay {
    Group group;
    std::string_view frame;             // group box around the line
    std::string_view frame_caption;
    ui::CheckBox check_box;
    std::string_view check_caption;
    ui::RadioButton factory_radio;
    ui::RadioButton previous_radio;     // invisible
    std::string_view previous_caption;
    std::string_view radio_group;       // empty frame drawn around the two radio buttons
};

inline constexpr ui::GroupBox kUndoGroupBox{"GroupBox7"};
inline constexpr std::string_view kFactoryRadioCaption = N_("Restore factory default settings");

inline constexpr std::array<UndoLineDisplay, kGroupCount> kUndoLines{{
    {Group::Network, "GroupBox8", N_("Network Options"), ui::CheckBox{"CheckBox49"}, N_("Undo all changes related with Network Boost"),
     ui::RadioButton{"RadioButton1"}, ui::RadioButton{"RadioButton2"}, N_("Restore to previous registry settings"), "RadioGroup1"},
    {Group::Power, "GroupBox9", N_("Power Options"), ui::CheckBox{"CheckBox50"}, N_("Undo all changes related with Power  Boost"),
     ui::RadioButton{"RadioButton3"}, ui::RadioButton{"RadioButton4"}, N_("Restore to previous registry settings"), "RadioGroup2"},
    {Group::System, "GroupBox10", N_("System Options"), ui::CheckBox{"CheckBox51"}, N_("Undo all changes related with System Boost"),
     ui::RadioButton{"RadioButton5"}, ui::RadioButton{"RadioButton6"}, N_("Restore to previous registry settings"), "RadioGroup3"},
    {Group::Customization, "GroupBox11", N_("Customization  Options"), ui::CheckBox{"CheckBox52"},
     N_("Undo all changes related with Customization  Boost"), ui::RadioButton{"RadioButton7"}, ui::RadioButton{"RadioButton8"},
     N_("Restore to previous registry settings "), "RadioGroup4"},
}};

struct UndoButtons {
    ButtonDisplay select_all, clear_all, undo;
};
inline constexpr UndoButtons kUndoButtons{
    {"BitBtn15", N_("&Select All"), {8, kButtonTop, kButtonWidth, kButtonHeight}},
    {"BitBtn16", N_("Clea&r All"), {120, kButtonTop, kButtonWidth, kButtonHeight}},
    {"BitBtn17", N_("&Undo"), {240, kButtonTop, kButtonWidth, kButtonHeight}},
};

// Undo line positions: frames inside GroupBox7, the rest inside its frame.
constexpr Rect undo_frame_rect(std::size_t line) { return {8, 16 + static_cast<int>(line) * 72, 585, 64}; }
inline constexpr Rect kUndoCheckBoxRect{16, 26, 300, kCheckBoxHeight};
inline constexpr Rect kUndoRadioGroupRect{330, 8, 245, 49};
inline constexpr Rect kUndoFactoryRadioRect{340, 18, 225, kCheckBoxHeight};
inline constexpr Rect kUndoPreviousRadioRect{340, 36, 225, kCheckBoxHeight};

}  // namespace veltrano::tips

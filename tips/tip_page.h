// The page logic shared by the four tip groups (show, Select All, Clear All,
// Apply, help, profiles): it reads the check boxes by the names in
// catalogue.h and hands the ticked tips to the engine.
#pragma once

#include "i18n/translate.h"
#include "platform/ansi_text.h"
#include "platform/file_system.h"
#include "platform/sound.h"
#include "platform/system_restore.h"
#include "tips/tip_engine.h"
#include "ui/dialogs.h"
#include "ui/page.h"
#include "ui/widgets.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::tips {

// A profile loaded in the window, waiting for each tips page to tick its
// part when it is next shown: a page not drawn yet has no boxes to tick.
struct ProfileTicks {
    std::array<std::optional<std::vector<int>>, kGroupCount> waiting;
};

// Everything a page reaches.
struct Context {
    TipServices services;
    ui::Widgets& widgets;
    ui::Dialogs& dialogs;
    platform::Sound& sound;
    platform::FileSystem& files;
    // How a profile saved as ANSI reads on this machine.
    const platform::AnsiText& ansi;
    // Where the help pages live; the help link of a tip is appended after "/".
    std::string help_base;
    // Shared by the four tips pages.
    std::shared_ptr<ProfileTicks> profile_ticks = std::make_shared<ProfileTicks>();
    // Asked for a restore point before each Apply and Undo; none when null.
    platform::SystemRestore* system_restore = nullptr;
    // Held while Apply or Undo works; none when this is the only writer.
    WriterGate* writer = nullptr;
};

// Apply and Undo change the machine: never while another Veltrano does. A
// click does not wait: the user is told and tries again.
void as_page_writer(Context& ctx, const std::function<void()>& work);

// The page logic shared by the four groups.
class TipPage : public ui::Page {
public:
    TipPage(Group group, Context ctx) : group_(group), ctx_(std::move(ctx)) {}

    // After the shell made the group box and the log visible: each box
    // enabled unless its tip is applied; the group's undo flag written.
    void refresh();
    void shown() override { refresh(); }
    void select_all();
    void clear_all();
    void apply();
    // Opens the help viewer on the tip's help link.
    void help_image_click(int tip);
    // F1 on a check box: the help of its tip, as its help image gives;
    // nothing for a box of another page.
    void check_box_help(std::string_view check_box);
    // The context menu of a tip (its box, or the help image before it, for
    // the keyboard, as an applied tip's box takes no focus): takes back that
    // tip alone, after asking. Its entries are enabled while the tip is
    // applied, the previous settings while it also holds them.
    void undo_tip(int tip, bool to_previous);
    // The tips applied now, to a profile file the user names.
    void save_profile();
    // Ticks exactly the profile's tips not applied yet on the four tips
    // pages; Apply then applies them. A profile that cannot be taken whole
    // ticks nothing.
    void load_profile();

    Group group() const { return group_; }

private:
    void apply_ticked();
    void show_applied(int tip, bool applied);
    void show_flags();
    const GroupDisplay& display() const { return group_display(group_); }
    Group group_;
    Context ctx_;
};

inline constexpr std::string_view kChooseText = i18n::N_("Please make a choice before clicking on Boost Button ! ");
inline constexpr std::string_view kAppliedText = i18n::N_("Congratulations ! Selected choices have been applied. ");
inline constexpr std::string_view kAllAppliedText = i18n::N_("All choices have already been selected and applied ");
inline constexpr std::string_view kNoneAppliedText =
    i18n::N_("None of the selected choices could be applied. The activity log says why. ");
inline constexpr std::string_view kUndoTipFactoryCaption = i18n::N_("Undo this tip: factory default");
inline constexpr std::string_view kUndoTipPreviousCaption = i18n::N_("Undo this tip: previous settings");
inline constexpr std::string_view kUndoTipFactoryQuestion =
    i18n::N_("Do you want to undo this tip and put back the factory default settings of what it changed? "
             "The other tips of its group stay applied.");
inline constexpr std::string_view kUndoTipPreviousQuestion =
    i18n::N_("Do you want to undo this tip and put back the settings the machine had before it was first applied? "
             "The other tips of its group stay applied.");
// A tip's two context menu entries, named after its box: "UndoTipFactory_CheckBox17".
ui::MenuItem undo_tip_menu_item(int tip, bool to_previous);

// What a screen reader says for a tip's help image, which shows only "?".
std::string help_image_name(int tip);

// The balloon after Apply: a congratulation only when every ticked tip took.
std::string apply_text(int applied, int ticked);

}  // namespace veltrano::tips

// A page's controls as typed handles: each is made once, by explicit
// construction where its page is declared ("inline constexpr ui::Button
// kStartButton{"Button1"}"), and the logic names the constant. A misspelt
// constant does not build, and neither does a bare string where a control
// is meant: no control can be asked for that no page declares. The kind
// says what may be asked of it (a check box is ticked, a grid has cells).
#pragma once

#include <string_view>

namespace veltrano::ui {

// Any control, by the name the screen gives it ("CheckBox13", "Timer2").
// The name reads as a string where one is wanted (a view's declaration, a
// recording in a test); the way back is only the explicit constructor.
class Control {
public:
    constexpr explicit Control(std::string_view name) : name_(name) {}
    constexpr std::string_view name() const { return name_; }
    constexpr operator std::string_view() const { return name_; }
    friend constexpr bool operator==(Control a, Control b) { return a.name_ == b.name_; }

private:
    std::string_view name_;
};

// What may be ticked: a check box or a radio button.
struct Checkable : Control { using Control::Control; };
struct CheckBox : Checkable { using Checkable::Checkable; };
struct RadioButton : Checkable { using Checkable::Checkable; };

struct Button : Control { using Control::Control; };
struct Label : Control { using Control::Control; };
struct Picture : Control { using Control::Control; };
struct Edit : Control { using Control::Control; };
struct ComboBox : Control { using Control::Control; };
struct ListBox : Control { using Control::Control; };
struct ProgressBar : Control { using Control::Control; };
struct Calendar : Control { using Control::Control; };
struct StringGrid : Control { using Control::Control; };
struct MenuItem : Control { using Control::Control; };
// Runs while it is enabled.
struct Timer : Control { using Control::Control; };
// A frame holding controls; a page is one.
struct GroupBox : Control { using Control::Control; };

}  // namespace veltrano::ui

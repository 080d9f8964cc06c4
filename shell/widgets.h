// The controls of a window by their component names ("CheckBox13",
// "BitBtn5", "Label3"), for the logic of the pages: what a page reads and
// sets of its controls, and nothing of how they are drawn.
#pragma once

#include <string>
#include <string_view>

namespace veltrano::shell {

class Widgets {
public:
    virtual ~Widgets() = default;
    virtual void set_enabled(std::string_view name, bool enabled) = 0;
    virtual bool is_enabled(std::string_view name) const = 0;
    virtual void set_checked(std::string_view name, bool checked) = 0;
    virtual bool is_checked(std::string_view name) const = 0;
    virtual void set_visible(std::string_view name, bool visible) = 0;
    virtual bool is_visible(std::string_view name) const = 0;
    virtual void set_text(std::string_view name, const std::string& text) = 0;
    virtual std::string text(std::string_view name) const = 0;
};

}  // namespace veltrano::shell

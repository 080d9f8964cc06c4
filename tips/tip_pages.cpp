#include "tips/tip_pages.h"

namespace veltrano::tips {

TipPage& Catalogue::page(Group group) {
    switch (group) {
    case Group::Network: return network_;
    case Group::Power: return power_;
    case Group::System: return system_;
    case Group::Customization: break;
    }
    return customization_;
}

bool Catalogue::help_image_click(std::string_view image) {
    for (const TipDisplay& t : kTipDisplay)
        if (t.help_image == image) {
            page(t.group).help_image_click(t.tip);
            return true;
        }
    return false;
}

}  // namespace veltrano::tips

// Letters folded the way Windows folds switches, registry paths, file and
// process names: A to Z only, whatever the user's language, so that a
// Turkish or German locale never turns "/LIST" into something else.
#pragma once

#include <string>

namespace veltrano::platform {

inline std::string ascii_lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace veltrano::platform

#include "platform/registry.h"

namespace veltrano::platform {

const char* root_name(Root root) {
    switch (root) {
    case Root::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case Root::CurrentUser: return "HKEY_CURRENT_USER";
    case Root::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case Root::Users: return "HKEY_USERS";
    }
    return "";
}

}  // namespace veltrano::platform

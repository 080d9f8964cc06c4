// System Restore: Windows keeps a restore point from just before a batch of
// changes, so that a user can go back to it from Windows itself, whatever
// becomes of Veltrano.
#pragma once

#include <string>

namespace veltrano::platform {

class SystemRestore {
public:
    virtual ~SystemRestore() = default;
    // Asks Windows for a restore point named `description` before the batch
    // begins. True when Windows made one; otherwise `why` says why not in a
    // few words ("System Restore is turned off"), and the batch goes on.
    virtual bool begin(const std::string& description, std::string& why) = 0;
    // After a begin that made one: the batch ended, or an error stopped it.
    // Either way Windows keeps the point: a batch that failed may have
    // changed part of what it set out to.
    virtual void end(bool succeeded) = 0;
};

}  // namespace veltrano::platform

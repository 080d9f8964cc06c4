// A System Restore point around one batch of changes (an Apply, an Undo, a
// removal of registry entries): asked for before the first change, told
// when the batch ends. Where Windows makes none, the activity log says so
// in one line and the work goes on; with no service given (the command
// line's /norestorepoint) nothing is asked.
#pragma once

#include "i18n/translate.h"
#include "platform/system_restore.h"
#include "ui/activity_log.h"

#include <string>

namespace veltrano::core {

class RestorePoint {
public:
    RestorePoint(platform::SystemRestore* service, ui::ActivityLog& log, const std::string& description)
        : service_(service), log_(log) {
        if (!service_) return;
        std::string why;
        if (service_->begin(description, why)) {
            log.add(i18n::trf("System Restore point made: {0}", description));
            made_ = true;
        } else {
            log.add(i18n::trf("No System Restore point was made ({0}); the work goes on without one", why));
        }
    }
    // A batch that ends without succeeded() failed: an error stopped it.
    ~RestorePoint() {
        if (!made_) return;
        if (!succeeded_)
            log_.add(i18n::tr("The work stopped on an error; the System Restore point made before it is kept"));
        service_->end(succeeded_);
    }
    RestorePoint(const RestorePoint&) = delete;
    RestorePoint& operator=(const RestorePoint&) = delete;

    void succeeded() { succeeded_ = true; }

private:
    platform::SystemRestore* service_;
    ui::ActivityLog& log_;
    bool made_ = false;
    bool succeeded_ = false;
};

}  // namespace veltrano::core

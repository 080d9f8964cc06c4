// A page of the main window as the navigation sees it. The main window makes
// the page's group box visible or invisible and tells the page; what the page
// shows and reads is its own business.
#pragma once

namespace veltrano::ui {

class Page {
public:
    virtual ~Page() = default;
    // Once at start-up, after every page but the first is hidden.
    virtual void created() {}
    // After the group box became visible; runs again on every visit, so the
    // page reads its state anew.
    virtual void shown() {}
    // After the group box became invisible.
    virtual void hidden() {}
    // Once, as the main window goes and the program ends. A handler of the
    // page may still be running below a pump of messages: it has to stop and
    // leave the controls alone, which are gone.
    virtual void destroyed() {}
};

}  // namespace veltrano::ui

// The main window's logic on a machine made of fakes: an in-memory registry,
// a recorded screen and dialogs, and stand-ins for every other service.
#pragma once

#include "core/tip_state_store.h"
#include "shell/main_form.h"
#include "shell/welcome.h"
#include "support/fake_view.h"
#include "support/fake_writer_gate.h"
#include "support/fakes.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace veltrano::fakes {

class FormFixture : public ::testing::Test {
protected:
    fakes::MemoryRegistry reg;
    FakeTime time;
    FakeSystemInfo sys;
    fakes::MemoryLog log;
    RecordingView view;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeShutdown shutdown;
    FakeBrowser browser;
    FakeFileSystem files;
    FakeAnsiText ansi;
    FakeProcesses processes;
    FakeShell shell;
    FakeWriterGate gate;
    shell::MainForm form{services(), view, dialogs, log, "file:///C:/Veltrano/help"};

    shell::Services services() {
        shell::Services machine{reg, sys, time, sound, shutdown, browser, files, processes, shell, ansi};
        machine.writer_gate = &gate;
        return machine;
    }

    static inline const std::string kStore = "SOFTWARE\\VELTRANO\\VERSION\\2.0\\";

    // The first page is the welcome page.
    shell::WelcomePage& welcome() { return *static_cast<shell::WelcomePage*>(form.page(0)); }
    std::optional<platform::RegValue> counter(const std::string& name) const {
        return reg.get(platform::Root::LocalMachine, kStore, name);
    }
    // A tip's flag as the Apply and Undo of its page leave it.
    void set_tip_flag(int tip, std::uint32_t flag) {
        reg.put(platform::Root::LocalMachine, kStore + core::tip_key(tip), "HasThisTipBeenApplied",
                platform::RegValue::number(flag));
    }
};

}  // namespace veltrano::fakes

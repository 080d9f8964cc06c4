// Leaving through Exit: when the restart question comes, what each answer
// does, and how every failure of the restart keeps the program open.
#include "core/error.h"
#include "shell/exit.h"
#include "support/form_fixture.h"

#include <functional>
#include <utility>
#include <vector>

using namespace veltrano;
using platform::RegValue;
using platform::Root;

namespace {

// A bare machine starts with tips 5, 32, 34 and 40 applied. Each row sets
// tips' flags during the run, as their pages' Apply and Undo would.
struct Run {
    const char* name;
    std::vector<std::pair<int, std::uint32_t>> flags_set;
    bool asks;
};

void PrintTo(const Run& run, std::ostream* os) { *os << run.name; }

class ExitDecision : public fakes::FormFixture, public ::testing::WithParamInterface<Run> {};

TEST_P(ExitDecision, AsksOnlyWhenTheCountChangedAndNoEndsWithoutARestart) {
    form.start_up();
    for (auto [tip, flag] : GetParam().flags_set) set_tip_flag(tip, flag);
    dialogs.answer_yes = false;
    form.exit_program();
    ASSERT_EQ(dialogs.questions.size(), GetParam().asks ? 1u : 0u);
    if (GetParam().asks) {
        EXPECT_EQ(dialogs.questions.front(), shell::kRestartQuestion);
    }
    EXPECT_TRUE(view.terminated);
    EXPECT_TRUE(shutdown.steps.empty());
    EXPECT_TRUE(dialogs.errors.empty());
}

// Ctrl+0: where Exit would end the run unasked, the key asks first (No is
// the warning's default); where Exit asks anyway, it asks only that.
TEST_P(ExitDecision, ByItsKeyNeverEndsTheRunUnasked) {
    form.start_up();
    for (auto [tip, flag] : GetParam().flags_set) set_tip_flag(tip, flag);
    dialogs.answer_yes = false;
    form.exit_by_key();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions.front(), GetParam().asks ? shell::kRestartQuestion : shell::kExitQuestion);
    EXPECT_EQ(view.terminated, GetParam().asks);
    if (!GetParam().asks) {
        dialogs.answer_yes = true;
        form.exit_by_key();
        EXPECT_TRUE(view.terminated);
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, ExitDecision,
                         ::testing::Values(Run{"NothingChanged", {}, false},
                                           Run{"AppliedThenUndone", {{1, 1}, {1, 0}}, false},
                                           Run{"ATipApplied", {{1, 1}}, true},
                                           Run{"AnEarlierRunsTipUndone", {{5, 0}}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

class Exit : public fakes::FormFixture {
protected:
    void SetUp() override {
        form.start_up();
        form.navigation_click(1);
        set_tip_flag(1, 1);
        dialogs.answer_yes = true;
    }
    // Runs Exit expecting it to fail with exactly this text.
    void exit_fails_with(std::string_view message) {
        try {
            form.exit_program();
            ADD_FAILURE() << "Exit did not fail";
        } catch (const core::VeltranoError& e) {
            EXPECT_EQ(e.what(), message);
        }
        EXPECT_FALSE(view.terminated);
        EXPECT_EQ(view.visible_pages(), std::vector<std::string>{"GroupBox2"});
    }
};

TEST_F(Exit, EndOfRunCountIsRecordedBeforeTheQuestion) {
    dialogs.answer_yes = false;
    form.exit_program();
    EXPECT_EQ(counter(std::string(core::counter_name(core::AppliedCounter::AtStart))), RegValue::number(4));
    EXPECT_EQ(counter(std::string(core::counter_name(core::AppliedCounter::AtEnd))), RegValue::number(5));
    EXPECT_EQ(log.lines.back(), "Data value AppliedTipsCounter_end_of_exec already exists but was not enabled and hence enabled");
}

TEST_F(Exit, YesRestartsThisComputerWithTheWarningThenEnds) {
    form.exit_program();
    EXPECT_EQ(shutdown.steps, (std::vector<std::string>{"open token", "lookup SeShutdownPrivilege on \\\\TUNEBOX",
                                                        "enable", "restart \\\\TUNEBOX in 15 s", "disable"}));
    EXPECT_EQ(shutdown.restart_message,
              "Your Computer is being shut down in 15 seconds. Close any programs/apps that you are working on");
    EXPECT_TRUE(view.terminated);
}

TEST_F(Exit, AUserWithoutThePrivilegeIsToldAndMayTryAgain) {
    shutdown.enable_error = 1300;  // ERROR_NOT_ALL_ASSIGNED
    exit_fails_with("AdjustTokenPrivileges enable failed.");
    EXPECT_EQ(shutdown.steps.back(), "enable");
    shutdown.enable_error = 0;
    form.exit_program();
    EXPECT_TRUE(view.terminated);
    EXPECT_EQ(dialogs.questions.size(), 2u);
}

TEST_F(Exit, EachFailingStepEndsTheExitWithItsOwnText) {
    struct Failure {
        std::function<void(fakes::FakeShutdown&)> breaks;
        std::string_view message;
        std::string last_step;
    };
    const Failure failures[] = {
        {[](auto& s) { s.token_opens = false; }, "OpenProcessToken failed.", "open token"},
        {[](auto& s) { s.lookup_works = false; },
         "You do not have Remote Shutdown Privilege on this\r\ncomputer, or computer is not a Windows NT "
         "computer,\r\nor computer cannot be found on the network.",
         "lookup SeShutdownPrivilege on \\\\TUNEBOX"},
        // The privilege goes back as it was when the restart cannot start.
        {[](auto& s) { s.restart_starts = false; }, "InitiateSystemShutdown failed.", "restore"},
        {[](auto& s) { s.disable_error = 5; }, "AdjustTokenPrivileges disable failed.", "disable"},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.message);
        shutdown = fakes::FakeShutdown{};
        failure.breaks(shutdown);
        exit_fails_with(failure.message);
        ASSERT_FALSE(shutdown.steps.empty());
        EXPECT_EQ(shutdown.steps.back(), failure.last_step);
    }
}

TEST_F(Exit, AnotherTargetMachineNeedsTheRemotePrivilegeAndCaseDoesNotMakeOne) {
    form.machine_unc_name = "\\\\tunebox";
    form.exit_program();
    EXPECT_EQ(shutdown.steps.at(1), "lookup SeShutdownPrivilege on \\\\tunebox");

    shutdown = fakes::FakeShutdown{};
    form.machine_unc_name = "\\\\FILESERVER";
    form.exit_program();
    EXPECT_EQ(shutdown.steps.at(1), "lookup SeRemoteShutdownPrivilege on \\\\FILESERVER");
    EXPECT_EQ(shutdown.steps.at(3), "restart \\\\FILESERVER in 15 s");
}

TEST_F(Exit, AWronglyTypedCounterIsReportedButCannotKeepTheUserIn) {
    reg.put(Root::LocalMachine, kStore, std::string(core::counter_name(core::AppliedCounter::AtEnd)), RegValue::string("5"));
    dialogs.answer_yes = false;
    form.exit_program();
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Invalid data type for 'AppliedTipsCounter_end_of_exec'"});
    // Read as 0 against a start count of 4: the counts differ, so it asks.
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(view.terminated);
}

TEST_F(Exit, AWronglyTypedFlagIsReportedOnceAndTheProgramEndsWithoutAsking) {
    reg.put(Root::LocalMachine, kStore + core::tip_key(7), "HasThisTipBeenApplied", RegValue::string("1"));
    form.exit_program();
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Invalid data type for 'HasThisTipBeenApplied'"});
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(shutdown.steps.empty());
    EXPECT_TRUE(view.terminated);
}

}  // namespace

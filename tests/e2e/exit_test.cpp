// Leaving Veltrano: Exit ends at once when no tip changed, asks about a
// restart when one did, and "No, I don't Agree" ends at once whatever
// changed. The restart itself is never asked for: every question is
// answered No.
#include "veltrano_session.h"

#include "platform/win32/unique_handle.h"

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

const std::wstring kStore = L"SOFTWARE\\VELTRANO\\VERSION\\2.0";
constexpr wchar_t kQuestion[] =
    L"It is always a good idea to restart you computer if you have applied any tips, Do you want to shutdown and "
    L"restart ?";

std::optional<DWORD> counter(const wchar_t* name) { return read_dword(HKEY_LOCAL_MACHINE, kStore, name); }

class Leaving : public VeltranoSession {
protected:
    void SetUp() override {
        VeltranoSession::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // Held from the start, so the end can be waited for even after the
        // program is gone.
        process_.reset(OpenProcess(SYNCHRONIZE, FALSE, process_id()));
        ASSERT_TRUE(process_);
    }
    bool ends() const {
        return WaitForSingleObject(process_.get(), static_cast<DWORD>(kDefaultTimeout.count())) == WAIT_OBJECT_0;
    }
    // What the Apply of a tip's page leaves in the store, as a user's click
    // would have during this run: the first tip not yet applied gets its flag.
    void apply_a_tip() {
        for (int n = 1; n <= 48; ++n) {
            wchar_t tip[16];
            swprintf(tip, 16, L"\\TIP%04d", n);
            if (read_dword(HKEY_LOCAL_MACHINE, kStore + tip, L"HasThisTipBeenApplied") == std::optional<DWORD>(0)) {
                ASSERT_TRUE(write_dword(HKEY_LOCAL_MACHINE, kStore + tip, L"HasThisTipBeenApplied", 1));
                return;
            }
        }
        FAIL() << "every tip is applied already";
    }
    platform::win32::unique_kernel_handle process_;
};

TEST_F(Leaving, UnchangedCountsEndTheProgramWithoutAQuestion) {
    click_caption(L"Exit");
    EXPECT_TRUE(ends()) << "still running; a box? " << (find_message_box(process_id(), Millis{0}) ? "yes" : "no");
    EXPECT_EQ(counter(L"AppliedTipsCounter_end_of_exec"), counter(L"AppliedTipsCounter_start_of_exec"));
}

TEST_F(Leaving, AfterATipIsAppliedExitAsksAndNoEndsTheProgram) {
    ASSERT_NO_FATAL_FAILURE(apply_a_tip());
    click_caption(L"Exit");
    auto box = find_message_box(process_id());
    ASSERT_TRUE(box.has_value()) << "no question";
    EXPECT_EQ(to_utf8(box->text), to_utf8(kQuestion));
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    ASSERT_TRUE(press_message_box_button(box->hwnd, L"No"));
    EXPECT_TRUE(ends());
    EXPECT_EQ(counter(L"AppliedTipsCounter_end_of_exec").value_or(0),
              counter(L"AppliedTipsCounter_start_of_exec").value_or(0) + 1);
}

TEST_F(Leaving, AWronglyTypedFlagIsShownOnceAndTheProgramStillEnds) {
    // The window has no close box: a flag Exit cannot read must not keep the
    // user in.
    ASSERT_TRUE(write_string(HKEY_LOCAL_MACHINE, kStore + L"\\TIP0007", L"HasThisTipBeenApplied", L"1"));
    click_caption(L"Exit");
    auto box = find_message_box(process_id());
    ASSERT_TRUE(box.has_value()) << "no error";
    EXPECT_EQ(to_utf8(box->text), "Invalid data type for 'HasThisTipBeenApplied'");
    ASSERT_TRUE(press_message_box_button(box->hwnd, L"OK"));
    EXPECT_TRUE(ends()) << "still running; a box? " << (find_message_box(process_id(), Millis{0}) ? "yes" : "no");
}

TEST_F(Leaving, NotAgreeingToTheTermsEndsTheProgramAtOnce) {
    // An Exit now would ask; not agreeing must not.
    ASSERT_NO_FATAL_FAILURE(apply_a_tip());
    click_caption(L"&Terms of use");
    HWND terms = find_top_window(L"Terms of use", process_id());
    ASSERT_NE(terms, nullptr) << "the terms of use never showed";
    HWND no = find_control(terms, Selector::by_caption(L"&No, I don't Agree"));
    ASSERT_NE(no, nullptr);
    ASSERT_TRUE(click(no));
    EXPECT_TRUE(ends());
    // None of Exit's steps ran: the end counter keeps start-up's 0.
    EXPECT_EQ(counter(L"AppliedTipsCounter_end_of_exec"), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace veltrano::e2e

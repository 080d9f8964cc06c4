// The kit's one door: a handler's error, whether a click, a grid's
// notification or a timer's tick raised it, is shown once in the error box
// over the control's window and goes no further; the program carries on.
#include "core/error.h"
#include "ui/win32/controls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <commctrl.h>
#include <string>
#include <thread>
#include <vector>

namespace veltrano::ui::win32 {
namespace {

// Closes every error box of this process as it comes up, keeping its text.
class BoxCloser {
public:
    BoxCloser()
        : thread_([this] {
              while (!stop_) {
                  HWND box = FindWindowW(L"#32770", L"Veltrano");
                  if (box && IsWindowVisible(box)) {
                      wchar_t text[256] = {};
                      GetDlgItemTextW(box, 0xFFFF, text, 256);
                      texts_.push_back(text);
                      SendMessageW(box, WM_COMMAND, IDOK, 0);
                  }
                  Sleep(20);
              }
          }) {}
    ~BoxCloser() { stop(); }
    // The texts of the boxes closed so far; none are looked for after.
    std::vector<std::wstring> stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return texts_;
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

class KitGuard : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    HWND owner_ = nullptr;
    Controls controls_;
    int calls_ = 0;
};

TEST_F(KitGuard, AClickAGridNotificationAndATimerTickEachShowTheirErrorOnce) {
    const auto raise = [this](const char* what) {
        return [this, what] {
            ++calls_;
            throw core::VeltranoError(what);
        };
    };
    HWND button = controls_.create(owner_, {ControlKind::Button, "Button1", "Go", 0, 0, 50, 20, raise("clicked")}, nullptr);
    HWND grid = controls_.create(owner_, {ControlKind::Grid, "Grid1", "", 0, 30, 200, 100}, nullptr);
    controls_.grid("Grid1")->on_column_click = [this](int) {
        ++calls_;
        throw core::VeltranoError("sorted");
    };
    HWND timer = nullptr;
    timer = controls_.create(owner_, {ControlKind::Timer, "Timer1", "", 0, 0, 0, 0, [this, &timer] {
                                          ++calls_;
                                          controls_.set_timer_running(timer, false);
                                          throw core::VeltranoError("ticked");
                                      }, false, 10}, nullptr);
    {
        BoxCloser closer;
        EXPECT_TRUE(controls_.command(button, BN_CLICKED));
        NMLISTVIEW column{};
        column.hdr = {grid, 0, LVN_COLUMNCLICK};
        LRESULT result = 0;
        EXPECT_TRUE(controls_.notify(column.hdr, result));
        controls_.set_timer_running(timer, true);
        for (MSG msg; calls_ < 3 && GetMessageW(&msg, nullptr, 0, 0);) DispatchMessageW(&msg);
        EXPECT_EQ(closer.stop(), (std::vector<std::wstring>{L"clicked", L"sorted", L"ticked"}));
    }
    EXPECT_EQ(calls_, 3);
    EXPECT_FALSE(controls_.timer_running(timer));
}

}  // namespace
}  // namespace veltrano::ui::win32

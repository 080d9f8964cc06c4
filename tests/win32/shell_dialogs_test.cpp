// The balloon's outline and what it does when the outline cannot be made;
// the help viewer when the machine has no browser engine (Wine without
// Gecko, as these tests run).
#include "core/error.h"
#include "shell/win32/balloon.h"
#include "shell/win32/help.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace veltrano::shell::win32 {

using namespace ui::win32;
namespace {

HINSTANCE self() { return GetModuleHandleW(nullptr); }

TEST(BalloonRegion, CoversTheEllipseAndTheTailAndNothingElse) {
    unique_gdi region = make_balloon_region(BalloonDialog::kWidth, BalloonDialog::kHeight);
    ASSERT_TRUE(region);
    auto rgn = static_cast<HRGN>(region.get());
    // Ellipse (0,60)-(385,199): its centre and the ends of its axes.
    EXPECT_TRUE(PtInRegion(rgn, 192, 130));
    EXPECT_TRUE(PtInRegion(rgn, 2, 130));
    EXPECT_TRUE(PtInRegion(rgn, 382, 130));
    // The tail runs down to (200,258), below the ellipse.
    EXPECT_TRUE(PtInRegion(rgn, 240, 205));
    EXPECT_TRUE(PtInRegion(rgn, 207, 249));
    // Window corners and the band above the ellipse stay see-through.
    for (POINT p : {POINT{1, 1}, POINT{410, 1}, POINT{1, 285}, POINT{410, 285}, POINT{192, 30}, POINT{100, 250}})
        EXPECT_FALSE(PtInRegion(rgn, p.x, p.y)) << p.x << "," << p.y;
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 60);
    EXPECT_NEAR(box.right, 385, 1);  // an ellipse's right and bottom edges are exclusive
    EXPECT_NEAR(box.bottom, 258, 1);
}

// Each step that can fail, failing on its own.
enum class Failing { Polygon, Ellipse, Combine };

RegionCalls failing(Failing which) {
    RegionCalls calls;
    switch (which) {
    case Failing::Polygon: calls.polygon = [](const POINT*, int, int) -> HRGN { return nullptr; }; break;
    case Failing::Ellipse: calls.ellipse = [](int, int, int, int) -> HRGN { return nullptr; }; break;
    case Failing::Combine: calls.combine = [](HRGN, HRGN, HRGN, int) { return ERROR; }; break;
    }
    return calls;
}

class BalloonFallback : public ::testing::TestWithParam<Failing> {};

TEST_P(BalloonFallback, NoRegionWhenAStepFails) {
    EXPECT_FALSE(make_balloon_region(BalloonDialog::kWidth, BalloonDialog::kHeight, failing(GetParam())));
}

TEST_P(BalloonFallback, WindowStaysAPlainRectangleWithItsMessage) {
    BalloonDialog balloon(self(), failing(GetParam()));
    ASSERT_TRUE(balloon.create(nullptr));
    unique_gdi probe(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(balloon.hwnd(), static_cast<HRGN>(probe.get())), ERROR) << "the window has a region";
    EXPECT_NE(balloon.controls().get("Label1"), nullptr);
    EXPECT_NE(balloon.controls().get("StaticText2"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachStep, BalloonFallback,
                         ::testing::Values(Failing::Polygon, Failing::Ellipse, Failing::Combine));

class Balloon : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(balloon.create(nullptr)); }

    std::wstring label_text() const {
        wchar_t text[256] = {};
        GetWindowTextW(const_cast<BalloonDialog&>(balloon).controls().get("Label1"), text, 256);
        return text;
    }

    BalloonDialog balloon{self()};
};

TEST_F(Balloon, StartsWithItsOwnTextAndTheShape) {
    EXPECT_EQ(label_text(), L"All selected tips have been applied on your computer.");
    unique_gdi probe(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(balloon.hwnd(), static_cast<HRGN>(probe.get())), COMPLEXREGION);
}

TEST_F(Balloon, ClosesItselfAfterFiveTicksCountedFromEachShowing) {
    // Two showings in a row: the second must last as long as the first, so
    // the count cannot carry over.
    for (int showing = 0; showing < 2; ++showing) {
        balloon.show_message("Congratulations ! Selected choices have been applied. ");
        EXPECT_EQ(balloon.ticks_since_shown(), BalloonDialog::kSecondsShown) << "showing " << showing;
        EXPECT_FALSE(IsWindowVisible(balloon.hwnd()));
    }
    EXPECT_EQ(label_text(), L"Congratulations ! Selected choices have been applied. ");
}

TEST_F(Balloon, AClickOnTheBodyClosesItAtOnce) {
    // Queued before the modal loop starts: the loop finds it first thing.
    PostMessageW(balloon.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(192, 130));
    balloon.show_message("x");
    // Closed by the click, before its timer ticked even once.
    EXPECT_EQ(balloon.ticks_since_shown(), 0);
    EXPECT_FALSE(IsWindowVisible(balloon.hwnd()));
}

TEST(HelpViewer, WithoutABrowserEngineRaisesAndStaysClosed) {
    HelpViewer viewer(self());
    ASSERT_TRUE(viewer.create(nullptr));
    const std::string address = "file:///C:/veltrano/help/tip0025.htm#marker4";
    // Should the machine have a browser after all, the viewer would open:
    // a queued close ends it rather than hanging the test.
    PostMessageW(viewer.hwnd(), WM_CLOSE, 0, 0);
    try {
        viewer.show_help(address);
        GTEST_SKIP() << "this machine has a browser engine; the failure path is not reachable";
    } catch (const core::VeltranoError& e) {
        std::printf("show_help says: %s\n", e.what());
        EXPECT_NE(std::string(e.what()).find(address), std::string::npos) << e.what();
    }
    EXPECT_FALSE(IsWindowVisible(viewer.hwnd()));
}

}  // namespace
}  // namespace veltrano::shell::win32

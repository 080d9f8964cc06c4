// The welcome page's sheet as a screen reader meets it: one child per item,
// each named by its text, in its role, where it is drawn; the pointer finds
// the sheet and the item under it; and a reader holding on after the window
// went is told so rather than reading freed memory.
#include "ui/win32/controls.h"
#include "ui/win32/sheet_accessible.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>

namespace veltrano::ui::win32 {
namespace {

VARIANT child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring name_of(IAccessible& object, long id) {
    BSTR name = nullptr;
    if (object.get_accName(child(id), &name) != S_OK || !name) return L"<none>";
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

long role_of(IAccessible& object, long id) {
    VARIANT role;
    return object.get_accRole(child(id), &role) == S_OK && role.vt == VT_I4 ? role.lVal : -1;
}

class SheetReader : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        register_panel_class(GetModuleHandleW(nullptr));
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        sheet_ = controls_.create(owner_, {ControlKind::Sheet, "Sheet", "", 10, 10, 300, 200}, nullptr);
        ASSERT_NE(sheet_, nullptr);
        controls_.add_to_sheet(sheet_, {ControlKind::Panel, "Frame", "Current Statistics", 0, 100, 200, 80}, nullptr);
        controls_.add_to_sheet(sheet_, {ControlKind::Label, "Load", "Memory load:", 10, 120, 100, 14}, nullptr);
        ControlDecl hidden{ControlKind::Label, "Later", "not yet", 10, 10, 100, 14};
        hidden.visible = false;
        controls_.add_to_sheet(sheet_, hidden, nullptr);
    }
    void TearDown() override {
        if (owner_) DestroyWindow(owner_);
        CoUninitialize();
    }

    Controls controls_;
    HWND owner_ = nullptr;
    HWND sheet_ = nullptr;
};

TEST_F(SheetReader, TheSheetAnswersAReaderWithOneChildPerItemNamedByItsText) {
    // The sheet hands its object to oleacc (under Wine 8, ObjectFromLresult
    // cannot take it back: no proxy for IAccessible), so the contents are
    // read from the object the sheet makes.
    EXPECT_GT(SendMessageW(sheet_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0);
    IAccessible* object = make_sheet_accessible(sheet_);
    long count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(name_of(*object, 1), L"Current Statistics");
    EXPECT_EQ(role_of(*object, 1), ROLE_SYSTEM_GROUPING);
    EXPECT_EQ(name_of(*object, 2), L"Memory load:");
    EXPECT_EQ(role_of(*object, 2), ROLE_SYSTEM_STATICTEXT);
    VARIANT state;
    ASSERT_EQ(object->get_accState(child(3), &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_INVISIBLE) << "a hidden label reads as hidden";
    EXPECT_EQ(role_of(*object, CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    EXPECT_NE(object->get_accName(child(4), nullptr), S_OK);
    object->Release();
}

TEST_F(SheetReader, ThePointerFindsTheSheetAndTheLabelUnderItBeforeItsFrame) {
    POINT label{20, 125}, frame{150, 170}, bare{150, 20};
    for (POINT* p : {&label, &frame, &bare}) MapWindowPoints(sheet_, nullptr, p, 1);
    EXPECT_EQ(SendMessageW(sheet_, WM_NCHITTEST, 0, MAKELPARAM(label.x, label.y)), HTCLIENT);

    IAccessible* object = make_sheet_accessible(sheet_);
    const auto hit = [&](POINT p) {
        VARIANT found;
        return object->accHitTest(p.x, p.y, &found) == S_OK && found.vt == VT_I4 ? found.lVal : -1;
    };
    EXPECT_EQ(hit(label), 2);
    EXPECT_EQ(hit(frame), 1);
    EXPECT_EQ(hit(bare), CHILDID_SELF);
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(object->accLocation(&left, &top, &width, &height, child(2)), S_OK);
    EXPECT_EQ(left, label.x - 10);
    EXPECT_EQ(width, 100);

    DestroyWindow(owner_);
    owner_ = nullptr;
    long count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    object->Release();
}

}  // namespace
}  // namespace veltrano::ui::win32

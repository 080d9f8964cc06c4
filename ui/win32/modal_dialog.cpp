#include "ui/win32/modal_dialog.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"

#include "ui/win32/dpi.h"
#include "ui/win32/error_box.h"
#include "ui/win32/fit_captions.h"
#include "ui/win32/palette.h"
#include "ui/win32/window_binding.h"

namespace veltrano::ui::win32 {

namespace {

struct Face {
    const wchar_t* name;
    BYTE charset;
};

int CALLBACK note_found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool installed(HDC dc, const Face& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = face.charset;
    lstrcpynW(wanted.lfFaceName, face.name, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, note_found, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// MS Sans Serif, whose metrics every page assumes, draws the Latin and
// Cyrillic languages. Japanese, Chinese and Korean need their own glyphs
// and Latin letters beside them (a tip's name, a registry path): the face
// Windows uses for the language where East Asian support is installed, else
// one found here that holds both. A face of the language's charset alone
// may draw Latin letters as boxes.
Face face_for_language() {
    const i18n::Language& language = i18n::language_in_use();
    if (!language.east_asian) return {L"MS Sans Serif", DEFAULT_CHARSET};
    Face own = language.code == "ja"  ? Face{L"MS UI Gothic", SHIFTJIS_CHARSET}
               : language.code == "ko" ? Face{L"Gulim", HANGUL_CHARSET}
                                       : Face{L"SimSun", GB2312_CHARSET};
    HDC dc = GetDC(nullptr);
    Face chosen = own;
    for (const Face& face : {own, Face{L"WenQuanYi Micro Hei", own.charset}})
        if (installed(dc, face)) {
            chosen = face;
            break;
        }
    ReleaseDC(nullptr, dc);
    return chosen;
}

}  // namespace

HFONT make_ui_font(int height, int weight) {
    const Face face = face_for_language();
    return CreateFontW(font_px(height), 0, 0, 0, weight, FALSE, FALSE, FALSE, face.charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face.name);
}

ModalDialog::ModalDialog(HINSTANCE instance, const wchar_t* class_name, int client_width, int client_height,
                         COLORREF background, std::string_view title)
    : instance_(instance), class_name_(class_name), title_(title), client_width_(client_width), client_height_(client_height),
      background_(background) {}

ModalDialog::~ModalDialog() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool ModalDialog::create(HWND owner) {
    owner_ = owner;
    // In High Contrast the dialogs stand on the system's ground, as the
    // main window does.
    background_brush_.reset(CreateSolidBrush(palette().high_contrast ? palette().ground() : background_));
    font_.reset(make_ui_font(-11, FW_NORMAL));
    bold_font_.reset(make_ui_font(-11, FW_BOLD));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(background_brush_.get());
    wc.lpszClassName = class_name_;
    RegisterClassExW(&wc);

    // No border, no caption: the window is exactly its client area, so the
    // centring below uses the same size the user sees.
    const int width = px(client_width_), height = px(client_height_);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    const std::wstring title = title_.empty() ? std::wstring(class_name_) : platform::win32::to_utf16(i18n::tr(title_));
    hwnd_ = CreateWindowExW(0, class_name_, title.c_str(), WS_POPUP | WS_CLIPCHILDREN, left, top, width, height, owner,
                            nullptr, instance_, this);
    if (!hwnd_) return false;
    run_guarded(owner, [&] { create_controls(); });
    return true;
}

void ModalDialog::show_modal() {
    if (!hwnd_ || running_) return;
    running_ = true;
    if (owner_) EnableWindow(owner_, FALSE);
    fit_captions(hwnd_);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    MSG msg;
    while (running_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: let the outer loop see the quit too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    running_ = false;
    if (owner_) EnableWindow(owner_, TRUE);
    if (IsWindow(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
    if (owner_) SetForegroundWindow(owner_);
}

void ModalDialog::end_modal() {
    running_ = false;
    PostMessageW(hwnd_, WM_NULL, 0, 0);  // wake the loop
}

bool ModalDialog::handle(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

HBRUSH ModalDialog::colour_static(HWND, HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(background_brush_.get());
}

LRESULT CALLBACK ModalDialog::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return answer_by_object<ModalDialog, &ModalDialog::hwnd_, &ModalDialog::dispatch>(hwnd, msg, wp, lp);
}

LRESULT ModalDialog::dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    bool handled = false;
    run_guarded(hwnd_, [&] { handled = handle(msg, wp, lp, result); });
    if (handled) return result;
    switch (msg) {
    case WM_COMMAND:
        if (lp) {
            if (controls_.command(reinterpret_cast<HWND>(lp), HIWORD(wp))) return 0;
        } else if (LOWORD(wp) == IDCANCEL) {
            // Esc, from the dialog manager: the dialog closes as nothing was
            // chosen.
            SendMessageW(hwnd_, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(colour_static(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)));
    case WM_CLOSE:
        end_modal();
        return 0;
    case WM_DESTROY:
        hwnd_ = nullptr;
        running_ = false;
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace veltrano::ui::win32

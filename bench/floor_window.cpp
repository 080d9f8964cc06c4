// The floors the start-up benchmark measures Veltrano against, two builds of
// this file:
// - minimal_window: the least a window program does: register, create,
//   show, paint, wait;
// - themed_window (VELTRANO_THEMED_FLOOR): the floor for any window program
//   of ours: the same, started with veltrano.exe's manifest (common controls
//   6, so uxtheme is loaded and the controls are themed), the common
//   controls initialised and the three comctl32 and user32 controls whose
//   first use costs the most under Wine on it: a list box, a month calendar
//   and a progress bar. It times its stages as veltrano.exe does.
//
//   themed_window [LABELS]
//
// LABELS more windows, plain labels in rows: the floor with as many windows
// as another program's first paint.
#include "shell/startup_stages.h"

#include <windows.h>

#include <commctrl.h>

#include <cwchar>

#ifdef VELTRANO_THEMED_FLOOR
constexpr wchar_t kClass[] = L"VeltranoThemedBench", kTitle[] = L"Veltrano bench themed window";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
#else
constexpr wchar_t kClass[] = L"VeltranoBench", kTitle[] = L"Veltrano bench window";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION;
#endif

static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    VELTRANO_STAGE("entry");
#ifdef VELTRANO_THEMED_FLOOR
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&icc);
    VELTRANO_STAGE("common controls");
#endif

    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(kClass, kTitle, kStyle, 0, 0, 640, 620, nullptr, nullptr, instance, nullptr);
    VELTRANO_STAGE("main window");
#ifdef VELTRANO_THEMED_FLOOR
    const DWORD child = WS_CHILD | WS_VISIBLE;
    CreateWindowW(WC_LISTBOXW, L"", child | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER, 8, 456, 601,
                  121, hwnd, nullptr, instance, nullptr);
    CreateWindowW(MONTHCAL_CLASSW, L"", child | WS_BORDER, 290, 334, 180, 144, hwnd, nullptr, instance, nullptr);
    CreateWindowW(PROGRESS_CLASSW, L"", child, 16, 334, 248, 16, hwnd, nullptr, instance, nullptr);
    const int labels = command_line ? static_cast<int>(std::wcstol(command_line, nullptr, 10)) : 0;
    for (int i = 0; i < labels; ++i)
        CreateWindowW(WC_STATICW, L"A label", child, 8 + (i % 10) * 60, 8 + (i / 10) * 16, 58, 14, hwnd, nullptr,
                      instance, nullptr);
    VELTRANO_STAGE("controls");
#else
    (void)command_line;
#endif
    ShowWindow(hwnd, SW_SHOW);
    VELTRANO_STAGE("ShowWindow");
    UpdateWindow(hwnd);
    VELTRANO_STAGE("painted");
    VELTRANO_STAGE("message loop");
    VELTRANO_STAGES_WRITE();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

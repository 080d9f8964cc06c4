// Program entry: the windows in their order, then the message loop.
#include "net/win32/winsock_socket.h"
#include "platform/win32/win32_ansi_text.h"
#include "platform/win32/win32_browser.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_shutdown.h"
#include "platform/win32/win32_sound.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_secrets.h"
#include "platform/win32/win32_system_restore.h"
#include "platform/win32/win32_time.h"
#include "shell/startup_stages.h"
#include "shell/win32/command_line_main.h"
#include "shell/win32/language.h"
#include "shell/win32/main_window.h"
#include "shell/win32/stage_timing.h"
#include "shell/win32/win32_dialogs.h"
#include "tips/win32/writer_lock.h"

#include <commctrl.h>
#include <windows.h>

using namespace veltrano;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    VELTRANO_STAGE("entry");
    const bool window_in_chosen_language = shell::win32::speak_chosen_language();
    // With arguments Veltrano is a script's tool: no window, no sound.
    if (shell::win32::has_command_line() && !window_in_chosen_language) return shell::win32::run_command_line();

    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
    VELTRANO_STAGE("common controls");

    platform::win32::Win32Registry registry;
    platform::win32::Win32SystemInfo system_info;
    platform::win32::Win32Time time;
    platform::win32::Win32Sound sound;
    platform::win32::Win32Shutdown shutdown;
    platform::win32::Win32Browser browser;
    platform::win32::Win32FileSystem file_system;
    platform::win32::Win32AnsiText ansi_text;
    platform::win32::Win32Processes processes;
    platform::win32::Win32Shell shell;
    platform::win32::Win32SystemRestore system_restore;
    platform::win32::Win32Secrets secrets;
    tips::win32::WriterLock writer_lock;

    shell::win32::Win32Dialogs dialogs(instance);
    shell::win32::MainWindow main_window(instance, {shell::win32::timed_for_stages(registry), system_info, time, shell::win32::timed_for_stages(sound), shutdown, browser, file_system, processes, shell, ansi_text, net::win32::create_tw_socket, &shell::win32::timed_for_stages(system_restore), &writer_lock, &secrets}, dialogs);
    VELTRANO_STAGE("form made");
    if (!main_window.create()) return 1;
    shell.set_owner(main_window.hwnd());
    // Shown before the four small windows are made: the user sees the main
    // window sooner, and no click is read before they are all there.
    main_window.show();
    VELTRANO_STAGE("painted");

    const auto accelerators = main_window.create_accelerators();
    VELTRANO_STAGE("message loop");
    VELTRANO_STAGES_WRITE();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (main_window.translate_shortcut(msg)) continue;
        if (accelerators && TranslateAcceleratorW(main_window.hwnd(), accelerators.get(), &msg)) continue;
        if (IsDialogMessageW(main_window.hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

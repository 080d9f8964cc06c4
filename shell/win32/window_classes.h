// The window classes of the main window and its four dialogs, as the screen
// has always named them. Scripts, the tests and the driver find the windows
// by these names (FindWindow, "@TForm5"), so they are spelled here and
// nowhere else, whatever the C++ classes behind the windows are called.
#pragma once

namespace veltrano::shell::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"TForm1";
inline constexpr wchar_t kTermsOfUseClass[] = L"TForm2";
inline constexpr wchar_t kNotCompatibleClass[] = L"TForm3";
inline constexpr wchar_t kHelpViewerClass[] = L"TForm4";
inline constexpr wchar_t kBalloonClass[] = L"TForm5";

}  // namespace veltrano::shell::win32

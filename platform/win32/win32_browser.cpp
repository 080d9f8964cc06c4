#include "platform/win32/win32_browser.h"

#include "platform/win32/com_ptr.h"
#include "i18n/translate.h"
#include "platform/win32/text.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <cstdio>

namespace veltrano::platform::win32 {

namespace {

HRESULT dispid_of(IDispatch* object, const wchar_t* name, DISPID& id) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

HRESULT put_visible(IDispatch* browser) {
    DISPID id = 0;
    if (HRESULT hr = dispid_of(browser, L"Visible", id); FAILED(hr)) return hr;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BOOL;
    value.boolVal = VARIANT_TRUE;
    // A property put names its one argument as the new value.
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return browser->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                           nullptr);
}

HRESULT navigate(IDispatch* browser, const std::wstring& address) {
    DISPID id = 0;
    if (HRESULT hr = dispid_of(browser, L"Navigate", id); FAILED(hr)) return hr;
    unique_bstr url(address);
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = url.get();
    DISPPARAMS params{&argument, nullptr, 1, 0};
    return browser->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

}  // namespace

std::string describe_hresult(long hr) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<LPWSTR>(&text), 0,
                                        nullptr);
    std::wstring message = length ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    if (!message.empty()) return to_utf8(message);
    char code[32];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    // TRANSLATORS: a system error that has no words of its own, by its number
    return i18n::trf("Error {0}", code);
}

Win32Browser::~Win32Browser() {
    if (com_ready_) CoUninitialize();
}

std::optional<std::string> Win32Browser::open_window(const std::string& address) {
    if (!com_tried_) {
        // The user-interface thread is the only one that asks for a browser,
        // and it is single-threaded as far as COM is concerned.
        com_tried_ = true;
        com_ready_ = SUCCEEDED(CoInitialize(nullptr));
    }
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(L"InternetExplorer.Application", &clsid);
    // Said plainly: not every system has words for this code.
    if (FAILED(hr)) return i18n::trf("no web browser is installed ({0})", describe_hresult(hr));
    com_ptr<IDispatch> browser;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, browser.put());
    if (SUCCEEDED(hr)) hr = put_visible(browser.get());
    if (SUCCEEDED(hr)) hr = navigate(browser.get(), to_utf16(address));
    // Our reference goes; the window the browser made stays up on its own.
    if (FAILED(hr)) return describe_hresult(hr);
    return std::nullopt;
}

}  // namespace veltrano::platform::win32

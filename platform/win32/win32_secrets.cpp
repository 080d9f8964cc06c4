#include "platform/win32/win32_secrets.h"

#include "platform/win32/text.h"
#include "platform/win32/win32_registry.h"

#include <windows.h>
// After windows.h, which it needs.
#include <ntsecapi.h>

#include <memory>

namespace veltrano::platform::win32 {

namespace {

struct PolicyClose {
    void operator()(LSA_HANDLE policy) const { LsaClose(policy); }
};
using unique_policy = std::unique_ptr<void, PolicyClose>;

// An LSA string over `text`, which must outlive it; lengths in bytes.
LSA_UNICODE_STRING lsa_string(std::wstring& text) {
    LSA_UNICODE_STRING s{};
    s.Buffer = text.data();
    s.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    s.MaximumLength = s.Length;
    return s;
}

std::string status_text(NTSTATUS status) { return error_text(static_cast<LONG>(LsaNtStatusToWinError(status))); }

// The local machine's policy with `access`, or why not.
unique_policy open_policy(ACCESS_MASK access, std::string& why) {
    LSA_OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    LSA_HANDLE policy = nullptr;
    const NTSTATUS status = LsaOpenPolicy(nullptr, &attributes, access, &policy);
    if (status != 0) {
        why = status_text(status);
        return nullptr;
    }
    return unique_policy(policy);
}

}  // namespace

std::optional<std::string> Win32Secrets::store(const std::string& name, const std::string& data) {
    std::string why;
    unique_policy policy = open_policy(POLICY_CREATE_SECRET, why);
    if (!policy) return why;
    std::wstring key = to_utf16(name), secret = to_utf16(data);
    LSA_UNICODE_STRING key_string = lsa_string(key), secret_string = lsa_string(secret);
    // No data removes the secret.
    const NTSTATUS status = LsaStorePrivateData(policy.get(), &key_string, data.empty() ? nullptr : &secret_string);
    SecureZeroMemory(secret.data(), secret.size() * sizeof(wchar_t));
    if (status != 0) return status_text(status);
    return std::nullopt;
}

bool Win32Secrets::holds(const std::string& name) {
    std::string why;
    unique_policy policy = open_policy(POLICY_GET_PRIVATE_INFORMATION, why);
    if (!policy) return false;
    std::wstring key = to_utf16(name);
    LSA_UNICODE_STRING key_string = lsa_string(key);
    PLSA_UNICODE_STRING secret = nullptr;
    if (LsaRetrievePrivateData(policy.get(), &key_string, &secret) != 0 || !secret) return false;
    // Only whether it is there: the secret itself is wiped unread.
    const bool kept = secret->Length > 0;
    if (secret->Buffer) SecureZeroMemory(secret->Buffer, secret->Length);
    LsaFreeMemory(secret);
    return kept;
}

}  // namespace veltrano::platform::win32

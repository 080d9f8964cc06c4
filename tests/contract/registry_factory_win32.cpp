// The contract suite against the real registry, each test in its own random
// key under HKCU\Software\VeltranoContract, removed again afterwards.
#include "tests/contract/registry_factory.h"

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace veltrano::contract {

namespace {

using platform::win32::unique_hkey;

bool running_on_wine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string unique_key_name() {
    // No std::random_device: mingw's pulls in rand_s, which XP's msvcrt lacks.
    static unsigned counter = 0;
    char name[64];
    std::snprintf(name, sizeof name, "%08lx-%08lx-%u", GetCurrentProcessId(), GetTickCount(), ++counter);
    return name;
}

// An empty DACL grants nothing to anyone; the owner keeps only the implicit
// READ_CONTROL and WRITE_DAC, which is how the key is given back at the end.
LONG set_dacl(HKEY key, PACL dacl) {
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE);
    return RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
}

class Win32Backend : public RegistryBackend {
public:
    Win32Backend() : scratch_("Software\\VeltranoContract\\" + unique_key_name()) {
        EXPECT_TRUE(registry_.open(root(), scratch_, true)) << "cannot create the scratch key " << scratch_;
    }

    ~Win32Backend() override {
        // Give denied keys a null DACL (everyone may do anything) so the
        // scratch tree can be deleted.
        for (const auto& path : denied_) {
            unique_hkey key;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, platform::win32::to_utf16(path).c_str(), 0,
                              WRITE_DAC | registry_.view().flag, key.put()) == ERROR_SUCCESS)
                set_dacl(key.get(), nullptr);
        }
        EXPECT_TRUE(platform::delete_key(registry_, root(), scratch_)) << "scratch key " << scratch_ << " left behind";
    }

    platform::Registry& registry() override { return registry_; }
    platform::Root root() const override { return platform::Root::CurrentUser; }
    const std::string& scratch() const override { return scratch_; }

    void deny(const std::string& relative) override {
        const std::string path = scratch_ + "\\" + relative;
        unique_hkey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, platform::win32::to_utf16(path).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | registry_.view().flag, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        ACL empty;
        InitializeAcl(&empty, sizeof empty, ACL_REVISION);
        ASSERT_EQ(set_dacl(key.get(), &empty), ERROR_SUCCESS);
        denied_.push_back(path);
    }

    // One entry: everyone may read, no one may change.
    void deny_changes(const std::string& relative) override {
        const std::string path = scratch_ + "\\" + relative;
        unique_hkey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, platform::win32::to_utf16(path).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | registry_.view().flag, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
        std::vector<BYTE> buffer(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(everyone));
        auto* acl = reinterpret_cast<PACL>(buffer.data());
        InitializeAcl(acl, static_cast<DWORD>(buffer.size()), ACL_REVISION);
        AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
        FreeSid(everyone);
        ASSERT_EQ(set_dacl(key.get(), acl), ERROR_SUCCESS);
        denied_.push_back(path);
    }

    fakes::RegistryFlavour flavour() const override {
        return running_on_wine() ? fakes::RegistryFlavour::Wine : fakes::RegistryFlavour::Windows;
    }

private:
    platform::win32::Win32Registry registry_;
    std::string scratch_;
    std::vector<std::string> denied_;
};

}  // namespace

std::unique_ptr<RegistryBackend> make_registry_backend() { return std::make_unique<Win32Backend>(); }

}  // namespace veltrano::contract

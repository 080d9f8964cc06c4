#include "platform/win32/win32_file_system.h"

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

#include <windows.h>
#include <shlobj.h>

#include <cctype>

namespace veltrano::platform::win32 {

DriveType Win32FileSystem::drive_type(const std::string& root) {
    switch (GetDriveTypeW(to_utf16(root).c_str())) {
    case DRIVE_NO_ROOT_DIR: return DriveType::NoRootDir;
    case DRIVE_REMOVABLE: return DriveType::Removable;
    case DRIVE_FIXED: return DriveType::Fixed;
    case DRIVE_REMOTE: return DriveType::Remote;
    case DRIVE_CDROM: return DriveType::CdRom;
    case DRIVE_RAMDISK: return DriveType::RamDisk;
    default: return DriveType::Unknown;
    }
}

namespace {

DWORD attributes_of(const std::string& path, DWORD* error = nullptr) {
    // A path on an empty floppy or CD drive would otherwise make XP stop and
    // ask "There is no disk in the drive" while the analyser walks the
    // registry's file references.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    const DWORD attributes = GetFileAttributesW(to_utf16(path).c_str());
    if (error) *error = GetLastError();
    SetErrorMode(previous);
    return attributes;
}

}  // namespace

bool Win32FileSystem::exists(const std::string& path) { return attributes_of(path) != INVALID_FILE_ATTRIBUTES; }

namespace {

// A 32-bit program on 64-bit Windows is shown SysWOW64 where it asks for
// System32. The calls that turn this off exist only there (and from XP
// x64 on), so they are looked up, not imported; without them there is
// nothing to turn off.
class FileSystemRedirectionOff {
public:
    FileSystemRedirectionOff() {
        static const Calls calls = look_up();
        if (calls.disable && calls.disable(&previous_)) revert_ = calls.revert;
    }
    ~FileSystemRedirectionOff() {
        if (revert_) revert_(previous_);
    }
    FileSystemRedirectionOff(const FileSystemRedirectionOff&) = delete;
    FileSystemRedirectionOff& operator=(const FileSystemRedirectionOff&) = delete;

private:
    using Fn = BOOL(WINAPI*)(PVOID*);
    using RevertFn = BOOL(WINAPI*)(PVOID);
    struct Calls {
        Fn disable = nullptr;
        RevertFn revert = nullptr;
    };
    static Calls look_up() {
        Calls calls;
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        BOOL wow64 = FALSE;
        using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
        auto is_wow64 = kernel ? reinterpret_cast<IsWow64ProcessFn>(
                                     reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
                               : nullptr;
        if (!is_wow64 || !is_wow64(GetCurrentProcess(), &wow64) || !wow64) return calls;
        calls.disable = reinterpret_cast<Fn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
        calls.revert = reinterpret_cast<RevertFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
        if (!calls.revert) calls.disable = nullptr;
        return calls;
    }
    PVOID previous_ = nullptr;
    RevertFn revert_ = nullptr;
};

}  // namespace

PathState Win32FileSystem::probe(const std::string& path) {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    DWORD error = ERROR_SUCCESS;
    {
        const FileSystemRedirectionOff unredirected;
        attributes = attributes_of(path, &error);
    }
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathState::Folder : PathState::File;
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathState::Missing : PathState::Unknown;
}

// The analyser once asked this by making each folder the process's current
// directory, which left the program somewhere else after every scan. The
// attributes give the same answer and move nothing.
bool Win32FileSystem::is_directory(const std::string& path) {
    const DWORD attributes = attributes_of(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32FileSystem::app_data_folder() {
    // SHGetFolderPathW is in XP's shell32; the known-folder calls are not.
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    std::string folder = to_utf8(path);
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

bool Win32FileSystem::create_directories(const std::string& path) {
    if (path.empty()) return false;
    if (is_directory(path)) return true;
    // Parents first; "C:" and "\\server\share" end the climb by being there.
    const std::size_t last = path.find_last_of('\\', path.size() - 2);
    if (last != std::string::npos && last > 0) create_directories(path.substr(0, last));
    return CreateDirectoryW(to_utf16(path).c_str(), nullptr) || is_directory(path);
}

namespace {

// The bytes in a file of their own beside `path`, flushed to the disk; its
// name, or "" when it could not be written whole (nothing is left then).
std::wstring write_beside(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    // One name per process and call: two Veltranos saving to one folder do
    // not share a temporary file.
    static LONG serial = 0;
    const std::wstring temporary = to_utf16(path) + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(InterlockedIncrement(&serial)) + L".partial";
    unique_file_handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    DWORD written = 0;
    const bool complete = bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                      &written, nullptr) &&
                                            written == bytes.size());
    if (complete && FlushFileBuffers(file.get())) return temporary;
    file.reset();
    DeleteFileW(temporary.c_str());
    return {};
}

// The written file takes the name in one step (MoveFileEx is on every XP),
// so the name holds the old file or the new one, never a part of either.
bool move_into_place(const std::wstring& temporary, const std::string& path, bool replace) {
    if (temporary.empty()) return false;
    if (MoveFileExW(temporary.c_str(), to_utf16(path).c_str(),
                    MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0)))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

}  // namespace

bool Win32FileSystem::write_new_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    // What is removed next can only be put back from this file: it has to be
    // on the disk, whole, before we say it is written. An existing file of
    // that name is left alone: the move refuses to replace it.
    if (exists(path)) return false;
    return move_into_place(write_beside(path, bytes), path, false);
}

bool Win32FileSystem::read_file(const std::string& path, std::vector<std::uint8_t>& bytes) {
    unique_file_handle file(CreateFileW(to_utf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // "nul.txt" or "CON" open a device, which reads as an empty file.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return false;
    LARGE_INTEGER size{};
    // A profile is a few kilobytes; anything near this is no profile.
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 20)) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    return bytes.empty() ||
           (ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
}

bool Win32FileSystem::replace_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return move_into_place(write_beside(path, bytes), path, true);
}

namespace {

// FILE_APPEND_DATA alone: every write lands at the end even when several
// machines append to one log on a share.
unique_file_handle open_to_append(const std::string& path) {
    return unique_file_handle(CreateFileW(to_utf16(path).c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool append_to(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    DWORD written = 0;
    return bytes.empty() ||
           (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
}

class HandleAppender : public FileAppender {
public:
    explicit HandleAppender(unique_file_handle file) : file_(std::move(file)) {}
    // WriteFile hands the bytes to the system, which keeps them should the
    // process end the next moment.
    bool append(const std::vector<std::uint8_t>& bytes) override { return append_to(file_.get(), bytes); }

private:
    unique_file_handle file_;
};

}  // namespace

bool Win32FileSystem::append_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const unique_file_handle file = open_to_append(path);
    return file && append_to(file.get(), bytes);
}

std::unique_ptr<FileAppender> Win32FileSystem::open_for_appending(const std::string& path) {
    unique_file_handle file = open_to_append(path);
    if (!file) return nullptr;
    return std::make_unique<HandleAppender>(std::move(file));
}

namespace {

struct find_handle_traits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { FindClose(h); }
};

}  // namespace

std::vector<std::string> Win32FileSystem::file_names(const std::string& folder, const std::string& extension) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    // "*.reg" also matches "x.regx" (the short names' three letters), so the
    // end of each name is checked again.
    unique_handle<find_handle_traits> search(FindFirstFileW(to_utf16(folder + "\\*" + extension).c_str(), &found));
    if (!search) return names;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string name = to_utf8(found.cFileName);
        if (name.size() < extension.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < extension.size(); ++i)
            same = same && std::tolower(static_cast<unsigned char>(name[name.size() - extension.size() + i])) ==
                               std::tolower(static_cast<unsigned char>(extension[i]));
        if (same) names.push_back(name);
    } while (FindNextFileW(search.get(), &found));
    return names;
}

}  // namespace veltrano::platform::win32

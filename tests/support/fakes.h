// Stand-ins for the machine in the native tests.
#pragma once

#include "platform/ansi_text.h"
#include "platform/browser.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/secrets.h"
#include "platform/shell.h"
#include "platform/shutdown.h"
#include "platform/system_info.h"
#include "platform/system_restore.h"
#include "platform/time.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace veltrano::fakes {

class FakeTime : public platform::Time {
public:
    std::string short_date_today() const override { return date; }
    platform::SystemTime local_time() const override { return now; }
    platform::SystemTime system_time_utc() const override { return now; }
    // Local time is UTC here; each setting is recorded, a refused one too.
    bool set_system_time_utc(const platform::SystemTime& utc) override {
        set_utc.push_back(utc);
        if (!refusal.empty()) return false;
        now = utc;
        return true;
    }
    std::string last_error_text() const override { return refusal; }
    // Follows `now`: a test moves both at once.
    std::uint32_t tick_count_ms() const override {
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(platform::to_date_time(now) * 86400000.0 + 0.5));
    }
    std::string refusal;  // set: the clock refuses to be set, with this reason
    std::string date = "07/12/2026";
    std::vector<platform::SystemTime> set_utc;
    platform::SystemTime now{2026, 12, 1, 7, 8, 0, 0, 0};
};

// System Restore that writes down each begin (its description) and end.
class FakeSystemRestore : public platform::SystemRestore {
public:
    bool begin(const std::string& description, std::string& why) override {
        steps.push_back("begin " + description);
        if (!refusal.empty()) why = refusal;
        return refusal.empty();
    }
    void end(bool succeeded) override { steps.push_back(succeeded ? "end" : "end after an error"); }
    std::vector<std::string> steps;
    std::string refusal;  // set: every begin is refused with it
};

class FakeSystemInfo : public platform::SystemInfo {
public:
    platform::VersionInfo version() const override { return ver; }
    std::string computer_name() const override { return name; }
    platform::MemoryStatus memory_status() const override { return memory; }
    std::string decimal_separator() const override { return separator; }
    platform::VersionInfo ver{platform::kPlatformWin32Nt, 5, 1, 2600};
    std::string name = "TUNEBOX";
    platform::MemoryStatus memory{};
    std::string separator = ".";
};

// A Western European machine's code page, as far as Latin-1 agrees with it
// (A0 to FF): what the tests' "ANSI" profiles are written in.
class FakeAnsiText : public platform::AnsiText {
public:
    std::string to_utf8(std::string_view bytes) const override {
        std::string out;
        for (char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x80) {
                out += c;
            } else {
                out += static_cast<char>(0xC0 | (b >> 6));
                out += static_cast<char>(0x80 | (b & 0x3F));
            }
        }
        return out;
    }
};

// Writes down every step it is asked for; each step can be made to fail.
class FakeShutdown : public platform::Shutdown {
public:
    bool open_process_token() override {
        steps.push_back("open token");
        return token_opens;
    }
    bool lookup_privilege(const std::string& machine, const std::string& privilege_name) override {
        steps.push_back("lookup " + privilege_name + " on " + machine);
        return lookup_works;
    }
    std::uint32_t adjust_privilege(bool enable) override {
        steps.push_back(enable ? "enable" : "disable");
        return enable ? enable_error : disable_error;
    }
    void restore_privilege() override { steps.push_back("restore"); }
    bool initiate_restart(const std::string& machine, const std::string& message, unsigned timeout) override {
        steps.push_back("restart " + machine + " in " + std::to_string(timeout) + " s");
        restart_message = message;
        return restart_starts;
    }
    std::vector<std::string> steps;
    std::string restart_message;
    bool token_opens = true, lookup_works = true, restart_starts = true;
    std::uint32_t enable_error = 0, disable_error = 0;
};

// Nothing on any disk and no processes, unless a test says otherwise. Every
// drive is a fixed disk unless listed; paths compare as given (no case
// folding, no "..": the tests spell them as the code asks for them).
class FakeFileSystem : public platform::FileSystem {
public:
    platform::DriveType drive_type(const std::string& root) override {
        ++probes;
        auto it = drives.find(root);
        return it == drives.end() ? platform::DriveType::Fixed : it->second;
    }
    bool exists(const std::string& path) override {
        ++probes;
        return files.count(path) || is_directory(path);
    }
    bool is_directory(const std::string& path) override {
        ++probes;
        return folders.count(path) || (!path.empty() && path.back() == '\\' && folders.count(path.substr(0, path.size() - 1)));
    }
    platform::PathState probe(const std::string& path) override {
        ++probes;
        if (refused.count(path)) return platform::PathState::Unknown;
        if (files.count(path)) return platform::PathState::File;
        return is_directory(path) ? platform::PathState::Folder : platform::PathState::Missing;
    }
    std::string app_data_folder() override { return app_data; }
    bool create_directories(const std::string& path) override {
        if (!can_write) return false;
        folders.insert(path);
        return true;
    }
    bool write_new_file(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
        if (!can_write || files.count(path)) return false;
        files[path] = bytes;
        return true;
    }
    bool read_file(const std::string& path, std::vector<std::uint8_t>& bytes) override {
        auto it = files.find(path);
        if (it == files.end()) return false;
        bytes = it->second;
        return true;
    }
    bool replace_file(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
        if (!can_write) return false;
        files[path] = bytes;
        return true;
    }
    bool append_file(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
        if (!can_write) return false;
        files[path].insert(files[path].end(), bytes.begin(), bytes.end());
        return true;
    }
    std::vector<std::string> file_names(const std::string& folder, const std::string& extension) override {
        std::vector<std::string> names;
        const std::string prefix = folder + "\\";
        for (const auto& [path, bytes] : files)
            if (path.starts_with(prefix) && path.ends_with(extension) &&
                path.find('\\', prefix.size()) == std::string::npos)
                names.push_back(path.substr(prefix.size()));
        return names;
    }


    std::map<std::string, platform::DriveType> drives;
    std::set<std::string> folders;  // without a trailing '\' ("C:" for the root)
    std::map<std::string, std::vector<std::uint8_t>> files;
    std::set<std::string> refused;  // paths whose look the system refuses
    std::string app_data = "C:\\Documents and Settings\\ann\\Application Data";
    bool can_write = true;
    int probes = 0;
};

// The machine's processes as a test lays them out. Ending one takes it off
// the list, unless the test made that process refuse with a message; as
// the system does, it ends only a process that is still the one listed (its
// name and start time), and lets the window's messages in while it waits.
class FakeProcesses : public platform::Processes {
public:
    std::vector<platform::ProcessEntry> list_processes() override { return processes; }
    std::uint64_t now() const override { return clock; }
    unsigned processor_count() const override { return processors; }
    std::vector<platform::ModuleEntry> list_modules() override { return modules; }
    std::vector<platform::ThreadEntry> list_threads() override { return threads; }
    platform::Termination terminate(const platform::ProcessEntry& listed,
                                    const std::function<void()>& while_waiting) override {
        const auto now = std::find_if(processes.begin(), processes.end(),
                                      [&](const platform::ProcessEntry& p) { return p.pid == listed.pid; });
        if (now == processes.end() || now->exe_file != listed.exe_file || now->start_time != listed.start_time)
            return {platform::Termination::Gone, {}};
        if (auto refusal = refusals.find(listed.pid); refusal != refusals.end())
            return {platform::Termination::Refused, refusal->second};
        terminated.push_back(listed.pid);
        if (while_waiting) while_waiting();
        std::erase_if(processes, [&](const platform::ProcessEntry& p) { return p.pid == listed.pid; });
        return {platform::Termination::Ended, {}};
    }
    std::vector<platform::ProcessEntry> processes;
    std::vector<platform::ModuleEntry> modules;
    std::vector<platform::ThreadEntry> threads;
    std::map<std::uint32_t, std::string> refusals;
    std::vector<std::uint32_t> terminated;  // the ids actually ended
    std::uint64_t clock = 0;                // 100 ns units, moved by the tests
    unsigned processors = 1;
};

// Windows' secrets: kept in a map, or refused with `refusal`.
class FakeSecrets : public platform::Secrets {
public:
    std::optional<std::string> store(const std::string& name, const std::string& data) override {
        if (refusal) return refusal;
        if (data.empty())
            kept.erase(name);
        else
            kept[name] = data;
        return std::nullopt;
    }
    bool holds(const std::string& name) override { return kept.count(name) != 0; }
    std::map<std::string, std::string> kept;
    std::optional<std::string> refusal;
};

class FakeShell : public platform::Shell {
public:
    long open(const std::string& file) override {
        opened.push_back(file);
        return missing.count(file) ? 2 : 42;  // 2: the shell's "file not found"
    }
    std::string system_folder() const override { return folder; }
    std::vector<std::string> opened;
    std::string folder = "D:\\WINNT\\system32";
    std::set<std::string> missing;
};

class FakeBrowser : public platform::Browser {
public:
    std::optional<std::string> open_window(const std::string& address) override {
        opened.push_back(address);
        return failure;
    }
    std::vector<std::string> opened;
    std::optional<std::string> failure;
};

}  // namespace veltrano::fakes

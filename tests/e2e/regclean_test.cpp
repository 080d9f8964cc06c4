// The registry analyser and cleaner worked from outside: references seeded
// into the registry of the prefix, a scan started with the button, the grid
// read back, rows picked with the keyboard and removed, the backup file read
// and imported again with Wine's own reg.exe.
#include "e2e_environment.h"
#include "veltrano_session.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>
#include <regex>
#include <set>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

const HKEY CU = HKEY_CURRENT_USER;
const std::wstring kKey = L"Software\\VeltranoE2E";
const std::wstring kRefs = kKey + L"\\Refs";
const std::wstring kMissingFolder = L"C:\\NoSuchFolder";
// A full scan of the prefix's registry takes a few seconds, several times
// that on a loaded machine: the one-minute deadline the driver gives waits.
constexpr Millis kScan{60000};

using Row = std::vector<std::wstring>;

LRESULT ask(HWND hwnd, UINT message, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, message, wp, lp, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

class RegClean : public VeltranoSession {
protected:
    void seed_machine() override {
        unlock();
        ASSERT_TRUE(delete_tree(CU, kKey));
        seed();
    }
    void TearDown() override {
        VeltranoSession::TearDown();
        unlock();
        delete_tree(CU, kKey);
    }
    virtual void seed() {}

    // The controls are looked up once: a lookup reads every caption, and
    // each read waits for the scan's next pump, which slows the scan down.
    void open_page() {
        click_caption(L"RegClean");
        grid_ = control(L"@SysListView32");
        start_ = control(Selector::by_caption(L"Start Registry Scan"));
        remove_ = control(Selector::by_caption(L"Remove Selected Entry"));
        stop_ = control(Selector::by_caption(L"Stop Registry Scan"));
        status_ = control(Selector::by_caption(L"Registry path is: "));
        ASSERT_TRUE(grid_ && start_ && remove_ && stop_ && status_);
    }
    bool stopped() const { return !IsWindowEnabled(stop_); }

    // Starts a scan and waits for its end, which the first scan shows by
    // enabling Remove (the seeds always give it something to find).
    void first_scan() {
        ASSERT_TRUE(click(start_));
        ASSERT_TRUE(wait_until([&] { return stopped() && IsWindowEnabled(remove_); }, kScan)) << describe_screen();
    }
    std::vector<Row> rows() { return listview_rows(grid_); }
    // Rows whose key ends in `key`: below the current user the path may or
    // may not start with '\', so only the end is compared.
    std::vector<Row> rows_of(const std::wstring& key) {
        std::vector<Row> out;
        for (Row& row : rows())
            if (row.size() == 4 && row[0].starts_with(L"HKEY_CURRENT_USER: ") && row[0].ends_with(key))
                out.push_back(std::move(row));
        return out;
    }
    int item_count() { return static_cast<int>(ask(grid_, LVM_GETITEMCOUNT)); }

    // An empty access list (nullptr: none at all) refuses everyone; the
    // owner may still change it, which is how the key is given back.
    void set_access(const std::wstring& path, PACL dacl) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(CU, path.c_str(), 0, WRITE_DAC | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return;
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE);
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
        RegCloseKey(key);
    }
    void lock(const std::wstring& path) {
        ACL empty;
        InitializeAcl(&empty, sizeof empty, ACL_REVISION);
        set_access(path, &empty);
        locked_ = path;
    }
    void unlock() {
        if (!locked_.empty()) set_access(locked_, nullptr);
        locked_.clear();
    }

    HWND grid_ = nullptr, start_ = nullptr, remove_ = nullptr, stop_ = nullptr, status_ = nullptr;
    std::wstring locked_;
};

// ---- what a scan reports ----------------------------------------------------

class RegCleanScan : public RegClean {
protected:
    void seed() override {
        for (const auto& [name, data] : std::vector<std::pair<std::wstring, std::wstring>>{
                 {L"Folder", kMissingFolder},
                 {L"File", L"C:\\Windows\\nosuchfile.dll"},
                 {L"C:\\NoSuchFolder\\named.dll", L"1"},
                 {L"Windows", L"C:\\Windows"},
                 {L"WindowsSlash", L"C:\\Windows\\"},
                 {L"Blank", L"C:\\Program Files\\x.exe"},
                 {L"Variable", L"%SystemRoot%\\x.dll"},
                 {L"Floppy", L"A:\\x.txt"},
                 {L"List", L"C:\\a;C:\\b"},
                 // There, but not as a folder nor with an extension; a
                 // type library's resource number after its file; a name
                 // the system refuses to look at; a file only 64-bit
                 // programs see in System32.
                 {L"NoExtension", L"C:\\windows\\system32\\drivers\\etc\\hosts"},
                 {L"Resource", L"C:\\windows\\system32\\kernel32.dll\\2"},
                 {L"Refused", L"C:\\No<Such>\\x.dll"},
                 {L"Only64", L"C:\\windows\\system32\\" + std::wstring(kOnly64)},
                 // A file with an argument after a slash, and a missing one.
                 {L"Slash", L"C:\\windows\\notepad.exe/Automation"},
                 {L"NoSuchExe", L"C:\\NoSuchFolder\\x.exe"},
             })
            ASSERT_TRUE(write_string(CU, kRefs, name, data));
        ASSERT_TRUE(write_string(CU, kKey + L"\\Locked\\Inner", L"Hidden", kMissingFolder));
        lock(kKey + L"\\Locked");
        // Put there through the prefix's folder, past the redirection that
        // would send a 32-bit test's own write to SysWOW64.
        const HANDLE file = CreateFileW(only64().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << to_utf8(only64());
        CloseHandle(file);
    }
    void TearDown() override {
        RegClean::TearDown();
        DeleteFileW(only64().c_str());
    }
    static constexpr const wchar_t* kOnly64 = L"veltrano-only64.dll";
    static std::wstring only64() {
        return L"Z:" + setting(L"WINEPREFIX") + L"/drive_c/windows/system32/" + kOnly64;
    }
};

TEST_F(RegCleanScan, ReportsMissingFilesAndFoldersOnFixedDisksAndPassesOverKeysItMayNotOpen) {
    open_page();
    EXPECT_EQ(listview_columns(grid_),
              (std::vector<std::wstring>{L"Registry Key", L"Last Modification", L"String Value", L"File/Path reference"}));
    first_scan();
    std::set<std::pair<std::wstring, std::wstring>> found;
    const std::wregex time(LR"(\d\d/\d\d/\d{4} (0[1-9]|1[0-2]):[0-5]\d(AM|PM))");
    for (const Row& row : rows_of(L"Software\\VeltranoE2E\\Refs")) {
        found.insert({row[2], row[3]});
        EXPECT_TRUE(std::regex_match(row[1], time)) << to_utf8(row[1]);
    }
    EXPECT_EQ(found, (std::set<std::pair<std::wstring, std::wstring>>{
                         {L"Folder", kMissingFolder},
                         {L"File", L"C:\\Windows\\nosuchfile.dll"},
                         {L"C:\\NoSuchFolder\\named.dll", L"1"},
                         {L"NoSuchExe", L"C:\\NoSuchFolder\\x.exe"},
                     }));
    // The locked key's value is not listed, no box says why, the end of the
    // scan counts it.
    EXPECT_TRUE(rows_of(L"Locked\\Inner").empty());
    EXPECT_TRUE(dialogs_of_process(process_id()).empty());
    const std::wstring status = text_of(status_);
    EXPECT_TRUE(status.starts_with(L"Scan complete: ")) << to_utf8(status);
    EXPECT_NE(status.find(L"could not be read."), std::wstring::npos) << to_utf8(status);
}

// ---- removal ----------------------------------------------------------------

std::wstring backup_folder() {
    wchar_t app_data[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, app_data))) return {};
    return std::wstring(app_data) + L"\\Veltrano\\Backups";
}

std::set<std::wstring> backups() {
    std::set<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((backup_folder() + L"\\*.reg").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do files.insert(backup_folder() + L"\\" + found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

// UTF-16LE after its byte order mark, or nothing.
std::wstring read_utf16_file(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return {};
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}

class RegCleanRemoval : public RegClean {
protected:
    // Wine lists a key's values sorted by name, so the rows come in this order.
    void seed() override {
        ASSERT_TRUE(write_string(CU, kRefs, L"V1", kMissingFolder));
        ASSERT_TRUE(write_string(CU, kRefs, L"V2", L"C:\\NoSuchFolder\\two.dll"));
        ASSERT_TRUE(write_string(CU, kRefs, L"V3", L"C:\\NoSuchFolder\\three.dll"));
        ASSERT_TRUE(write_string(CU, kRefs, L"V4", L"C:\\NoSuchFolder\\four.dll"));
        ASSERT_TRUE(write_string(CU, kRefs, L"V5", L"C:\\Windows\\nosuchfile.dll", REG_EXPAND_SZ));
        ASSERT_TRUE(write_string(CU, kRefs, L"Kept", L"C:\\Windows"));
    }
    // A click on `first`, then a Ctrl+click on `second`. Under Wine a
    // Ctrl+click now and then reaches the list view without its Ctrl (the
    // list then selects `second` alone, as a plain click does): that is our
    // input's fault, not the program's, and the pair is clicked again.
    void pick_apart(int first, int second) {
        const auto selected_only = [&](int item) {
            return ask(grid_, LVM_GETSELECTEDCOUNT) == 1 &&
                   ask(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == item;
        };
        for (int attempt = 0; attempt < 5; ++attempt) {
            ASSERT_TRUE(click_listview_item(grid_, first));
            ASSERT_TRUE(wait_until([&] { return selected_only(first); }));
            ASSERT_TRUE(click_listview_item(grid_, second, true));
            ASSERT_TRUE(wait_until([&] { return ask(grid_, LVM_GETSELECTEDCOUNT) == 2 || selected_only(second); }));
            if (ask(grid_, LVM_GETSELECTEDCOUNT) == 2) break;
        }
        ASSERT_EQ(ask(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), first);
        ASSERT_EQ(ask(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(first), LVNI_SELECTED), second);
    }
    // The grid's index of our key's first row.
    int first_of_ours() {
        const std::vector<Row> all = rows();
        const auto first = std::find_if(all.begin(), all.end(), [](const Row& r) {
            return r[0].starts_with(L"HKEY_CURRENT_USER: ") && r[0].ends_with(L"VeltranoE2E\\Refs");
        });
        return first == all.end() ? -1 : static_cast<int>(first - all.begin());
    }
    // Every removal ends in a new scan, seconds long: first it starts,
    // then it ends.
    void wait_for_rescan() {
        ASSERT_TRUE(wait_until([&] { return !IsWindowEnabled(start_); }, kScan)) << describe_screen();
        ASSERT_TRUE(wait_until([&] { return stopped() && IsWindowEnabled(start_); }, kScan)) << describe_screen();
    }
};

// Rows 2 and 5 picked with Ctrl+click: those two go, the rows between stay.
TEST_F(RegCleanRemoval, ExactlyTheRowsPickedAreSavedRemovedAndComeBackFromTheBackup) {
    const auto before = backups();
    open_page();
    first_scan();
    ASSERT_EQ(rows_of(L"VeltranoE2E\\Refs").size(), 5u);
    const int top = first_of_ours();
    ASSERT_NO_FATAL_FAILURE(pick_apart(top + 1, top + 4));
    // The row clicked last is the one described.
    HWND description = control(L"@Edit");
    EXPECT_TRUE(wait_until([&] { return text_of(description).find(L"V5") != std::wstring::npos; }))
        << to_utf8(text_of(description));

    ASSERT_TRUE(click(remove_));
    auto box = find_message_box(process_id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Are you sure you want to remove 2 selected entries from the Registry?");
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    EXPECT_EQ(box->default_button, L"No");
    ASSERT_TRUE(press_message_box_button(box->hwnd, L"Yes"));
    auto told = find_message_box(process_id());
    ASSERT_TRUE(told);
    EXPECT_TRUE(told->text.starts_with(L"Removed 2 entries from the registry. The backup is the file")) << to_utf8(told->text);
    EXPECT_TRUE(told->text.ends_with(L"Open the folder of the backups?")) << to_utf8(told->text);
    ASSERT_TRUE(press_message_box_button(told->hwnd, L"No"));
    ASSERT_NO_FATAL_FAILURE(wait_for_rescan());
    for (const wchar_t* name : {L"V2", L"V5"}) EXPECT_FALSE(read_value(CU, kRefs, name)) << to_utf8(name);
    for (const wchar_t* name : {L"V1", L"V3", L"V4", L"Kept"}) EXPECT_TRUE(read_value(CU, kRefs, name)) << to_utf8(name);
    EXPECT_EQ(rows_of(L"VeltranoE2E\\Refs").size(), 3u);

    std::set<std::wstring> written;
    const auto after = backups();
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::inserter(written, written.end()));
    ASSERT_EQ(written.size(), 1u);
    const std::wstring backup = *written.begin();
    EXPECT_NE(told->text.find(backup), std::wstring::npos) << to_utf8(told->text);
    const std::wstring text = read_utf16_file(backup);
    EXPECT_TRUE(text.starts_with(L"Windows Registry Editor Version 5.00\r\n")) << to_utf8(text);
    EXPECT_NE(text.find(L"\"V2\"=\"C:\\\\NoSuchFolder\\\\two.dll\"\r\n"), std::wstring::npos) << to_utf8(text);
    EXPECT_NE(text.find(L"\"V5\"=hex(2):43,00,3a,00"), std::wstring::npos);
    for (const wchar_t* other : {L"V1", L"V3", L"V4", L"Kept"}) EXPECT_EQ(text.find(other), std::wstring::npos);

    // Wine's reg.exe is the judge of whether the file reads back.
    const auto code = run_to_completion(L"reg.exe import \"" + backup + L"\" /reg:64", Millis{30000});
    ASSERT_EQ(code, std::optional<DWORD>(0));
    EXPECT_EQ(read_string(CU, kRefs, L"V2"), std::optional<std::wstring>(L"C:\\NoSuchFolder\\two.dll"));
    const auto fifth = read_value(CU, kRefs, L"V5");
    ASSERT_TRUE(fifth);
    EXPECT_EQ(fifth->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(fifth->as_string(), std::optional<std::wstring>(L"C:\\Windows\\nosuchfile.dll"));
    DeleteFileW(backup.c_str());
}

// Repaired after the scan, by the user or another program: not ours to take.
TEST_F(RegCleanRemoval, AValueRepairedSinceTheScanStaysAndTheUserIsTold) {
    open_page();
    first_scan();
    const int top = first_of_ours();
    ASSERT_GE(top, 0);
    ASSERT_TRUE(click_listview_item(grid_, top + 2));  // V3
    ASSERT_TRUE(wait_until([&] { return ask(grid_, LVM_GETSELECTEDCOUNT) == 1; }));
    ASSERT_TRUE(write_string(CU, kRefs, L"V3", L"C:\\Windows\\system32"));
    ASSERT_TRUE(click(remove_));
    auto box = find_message_box(process_id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Are you sure you want to remove selected entry from the Registry?");
    ASSERT_TRUE(press_message_box_button(box->hwnd, L"Yes"));
    auto told = find_message_box(process_id());
    ASSERT_TRUE(told);
    EXPECT_TRUE(told->text.starts_with(L"Nothing was removed from the registry.")) << to_utf8(told->text);
    EXPECT_NE(told->text.find(L"1 selected entry was left in place"), std::wstring::npos) << to_utf8(told->text);
    ASSERT_TRUE(press_message_box_button(told->hwnd, L"OK"));
    EXPECT_EQ(read_string(CU, kRefs, L"V3"), std::optional<std::wstring>(L"C:\\Windows\\system32"));

    // From the keyboard: Ctrl+A takes every row, Delete asks as the button does.
    ASSERT_NO_FATAL_FAILURE(wait_for_rescan());
    ASSERT_TRUE(click_listview_item(grid_, 0));
    send_keys({{VK_CONTROL, true}, {'A', true}, {'A', false}, {VK_CONTROL, false}});
    ASSERT_TRUE(wait_until([&] { return ask(grid_, LVM_GETSELECTEDCOUNT) == item_count(); }));
    send_keys({{VK_DELETE, true}, {VK_DELETE, false}});
    auto all = find_message_box(process_id());
    ASSERT_TRUE(all);
    EXPECT_EQ(all->text, L"Are you sure you want to remove " + std::to_wstring(item_count()) +
                             L" selected entries from the Registry?");
    ASSERT_TRUE(press_message_box_button(all->hwnd, L"No"));
    EXPECT_TRUE(read_value(CU, kRefs, L"V1"));
}

// ---- a scan that is interrupted ----------------------------------------------

// One key with thousands of broken values keeps the scan busy there for a
// good while: long enough to act while it is inside, whatever the machine.
class RegCleanLongKey : public RegClean {
protected:
    static constexpr int kValues = 5000;
    void seed() override {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(CU, (kKey + L"\\Doomed\\Child").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::wstring data = kMissingFolder;
        for (int i = 0; i < kValues; ++i)
            RegSetValueExW(key, (L"v" + std::to_wstring(10000 + i)).c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(data.c_str()),
                           static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    // Nothing under the current user but ours is broken in the prefix, so a
    // hundred rows mean the scan is in our key.
    void start_and_wait_inside() {
        open_page();
        ASSERT_TRUE(click(start_));
        ASSERT_TRUE(wait_until([&] { return item_count() >= 100; }, kScan)) << describe_screen();
    }
};

// Each level's key stays open while the walk is below it, so a key another
// program deletes meanwhile ends only its own part of the walk.
TEST_F(RegCleanLongKey, AKeyDeletedByAnotherProgramIsPassedOverAndTheScanGoesOn) {
    ASSERT_NO_FATAL_FAILURE(start_and_wait_inside());
    ASSERT_TRUE(delete_tree(CU, kKey + L"\\Doomed"));
    ASSERT_TRUE(wait_until([&] { return stopped(); }, kScan)) << describe_screen();
    EXPECT_TRUE(text_of(status_).starts_with(L"Scan complete: ")) << to_utf8(text_of(status_));
    EXPECT_TRUE(dialogs_of_process(process_id()).empty());
}

TEST_F(RegCleanLongKey, StopDuringTheCurrentUserLeavesTheOtherRootsUnscanned) {
    ASSERT_NO_FATAL_FAILURE(start_and_wait_inside());
    ASSERT_TRUE(click(stop_));
    ASSERT_TRUE(wait_until([&] { return stopped(); }, kScan));
    const std::vector<Row> found = rows();
    ASSERT_FALSE(found.empty());
    EXPECT_LT(found.size(), static_cast<std::size_t>(kValues));
    for (const Row& row : found) EXPECT_TRUE(row[0].starts_with(L"HKEY_CURRENT_USER: ")) << to_utf8(row[0]);
    EXPECT_TRUE(IsWindowEnabled(remove_));
    EXPECT_TRUE(text_of(status_).starts_with(L"Scan stopped in HKEY_CURRENT_USER after ")) << to_utf8(text_of(status_));
    EXPECT_TRUE(dialogs_of_process(process_id()).empty()) << "a stopped scan claims nothing";
}

TEST_F(RegCleanLongKey, LeavingThroughExitDuringAScanEndsTheProgramCleanly) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process_id());
    ASSERT_NE(process, nullptr);
    ASSERT_NO_FATAL_FAILURE(start_and_wait_inside());
    click_caption(L"Exit");
    EXPECT_EQ(WaitForSingleObject(process, static_cast<DWORD>(kScan.count())), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process);
}

// ---- the ignore list ----------------------------------------------------------

class RegCleanIgnore : public RegCleanRemoval {
protected:
    void seed() override {
        DeleteFileW(ignore_file().c_str());
        RegCleanRemoval::seed();
    }
    void TearDown() override {
        RegCleanRemoval::TearDown();
        DeleteFileW(ignore_file().c_str());
    }
    static std::wstring ignore_file() { return backup_folder() + L"\\Ignored entries.txt"; }
    std::vector<std::wstring> names_of_ours() {
        std::vector<std::wstring> names;
        for (const Row& row : rows_of(L"Software\\VeltranoE2E\\Refs")) names.push_back(row[2]);
        return names;
    }
    void scan_again() {
        ASSERT_TRUE(click(start_));
        ASSERT_NO_FATAL_FAILURE(wait_for_rescan());
    }
};

TEST_F(RegCleanIgnore, AnEntryIgnoredByTheKeyboardsMenuStaysOutOfScansUntilTakenOffTheList) {
    open_page();
    first_scan();
    const int top = first_of_ours();
    ASSERT_GE(top, 0);
    ASSERT_TRUE(click_listview_item(grid_, top + 1));  // V2
    ASSERT_TRUE(wait_until([&] { return ask(grid_, LVM_GETSELECTEDCOUNT) == 1; }));
    send_keys({{VK_SHIFT, true}, {VK_F10, true}, {VK_F10, false}, {VK_SHIFT, false}});
    ASSERT_TRUE(wait_until([&] { return !windows_of_process(process_id(), L"#32768", true).empty(); }))
        << "no menu";
    send_keys({{VK_DOWN, true}, {VK_DOWN, false}, {VK_RETURN, true}, {VK_RETURN, false}});
    const std::vector<std::wstring> without_v2{L"V1", L"V3", L"V4", L"V5"};
    ASSERT_TRUE(wait_until([&] { return names_of_ours() == without_v2; })) << describe_screen();

    ASSERT_NO_FATAL_FAILURE(scan_again());
    EXPECT_EQ(names_of_ours(), without_v2);
    const std::wstring status = text_of(status_);
    EXPECT_NE(status.find(L" 1 entry left out because it is ignored."), std::wstring::npos) << to_utf8(status);

    ASSERT_TRUE(click(control(Selector::by_caption(L"Ignored..."))));
    HWND window = find_top_window(L"Ignored entries", process_id());
    ASSERT_NE(window, nullptr);
    HWND list = find_control(window, Selector::parse(L"@ListBox"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(listbox_lines(list), std::vector<std::wstring>{L"HKEY_CURRENT_USER\\Software\\VeltranoE2E\\Refs: V2"});
    send_keys({{VK_DOWN, true}, {VK_DOWN, false}});
    ASSERT_TRUE(wait_until([&] { return ask(list, LB_GETCURSEL) == 0; }));
    ASSERT_TRUE(click(find_control(window, Selector::by_caption(L"Take off the list"))));
    ASSERT_TRUE(wait_until([&] { return listbox_lines(list).empty(); }));
    ASSERT_TRUE(click(find_control(window, Selector::by_caption(L"Close"))));
    ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(window); }));

    ASSERT_NO_FATAL_FAILURE(scan_again());
    EXPECT_EQ(names_of_ours(), (std::vector<std::wstring>{L"V1", L"V2", L"V3", L"V4", L"V5"}));
    EXPECT_EQ(text_of(status_).find(L"ignored"), std::wstring::npos);
}

// ---- a removal restored ---------------------------------------------------------

class RegCleanRestore : public RegCleanRemoval {
protected:
    void TearDown() override {
        RegCleanRemoval::TearDown();
        if (backup_.empty()) return;
        for (const std::wstring& file : {backup_, backup_ + L".restore"}) DeleteFileW(file.c_str());
    }
    std::wstring backup_;
};

// V2 and V5 removed; V2 set again by its program; Restore puts back V5 as it
// was (type and bytes) and keeps V2; Restore anyway on V2 puts it back too.
TEST_F(RegCleanRestore, PutsBackTheRemovalExactlyKeepingWhatChangedUntilRestoredAnyway) {
    const auto v2 = read_value(CU, kRefs, L"V2"), v5 = read_value(CU, kRefs, L"V5");
    ASSERT_TRUE(v2 && v5);
    const auto before = backups();
    open_page();
    first_scan();
    ASSERT_NO_FATAL_FAILURE(pick_apart(first_of_ours() + 1, first_of_ours() + 4));
    ASSERT_TRUE(click(remove_));
    for (const wchar_t* answer : {L"Yes", L"No"}) {
        auto box = find_message_box(process_id());
        ASSERT_TRUE(box && press_message_box_button(box->hwnd, answer));
    }
    ASSERT_NO_FATAL_FAILURE(wait_for_rescan());
    for (const std::wstring& file : backups())
        if (!before.count(file)) backup_ = file;
    ASSERT_FALSE(read_value(CU, kRefs, L"V5"));
    ASSERT_TRUE(write_string(CU, kRefs, L"V2", L"C:\\Changed\\two.dll"));

    // Its letter opens it from anywhere on the page.
    send_keys({{VK_MENU, true}, {'O', true}, {'O', false}, {VK_MENU, false}});
    HWND window = find_top_window(L"Restore removed registry entries", process_id());
    ASSERT_NE(window, nullptr);
    HWND list = find_control(window, Selector::parse(L"@ListBox"));
    HWND grid = find_control(window, Selector::parse(L"@SysListView32"));
    HWND status = find_control(window, Selector::by_caption(L"Restore puts back 1 removed entry; entries changed since are kept."));
    ASSERT_TRUE(list && grid && status) << describe_screen();
    const std::wstring key = L"HKEY_CURRENT_USER: Software\\VeltranoE2E\\Refs";
    EXPECT_TRUE(listbox_lines(list).at(0).ends_with(L"    2 entries    " + key));
    ASSERT_TRUE(wait_until([&] {
        return listview_rows(grid) == std::vector<Row>{{key, L"V2", L"C:\\NoSuchFolder\\two.dll", L"kept: it was changed since"},
                                                       {key, L"V5", L"C:\\Windows\\nosuchfile.dll", L"removed"}};
    })) << describe_screen();

    ASSERT_TRUE(click(find_control(window, Selector::by_caption(L"Restore"))));
    ASSERT_TRUE(wait_until([&] { return text_of(status) == L"Restored 1 entry. 1 entry was kept: it was changed since."; }))
        << to_utf8(text_of(status));
    const auto restored = read_value(CU, kRefs, L"V5");
    ASSERT_TRUE(restored);
    EXPECT_EQ(std::make_pair(restored->type, restored->data), std::make_pair(v5->type, v5->data));
    EXPECT_EQ(read_string(CU, kRefs, L"V2"), std::optional<std::wstring>(L"C:\\Changed\\two.dll"));

    // The kept entry, chosen in the grid, restored anyway.
    ASSERT_TRUE(click_listview_item(grid, 0));
    ASSERT_TRUE(wait_until([&] { return ask(grid, LVM_GETSELECTEDCOUNT) == 1; }));
    ASSERT_TRUE(click(find_control(window, Selector::by_caption(L"Restore anyway"))));
    ASSERT_TRUE(wait_until([&] { return text_of(status) == L"Restored 1 entry. 1 entry holds the backup's data already."; }))
        << to_utf8(text_of(status));
    const auto now = read_value(CU, kRefs, L"V2");
    ASSERT_TRUE(now);
    EXPECT_EQ(std::make_pair(now->type, now->data), std::make_pair(v2->type, v2->data));
    EXPECT_TRUE(listbox_lines(list).at(0).ends_with(L"(restored)"));

    send_keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(window); })) << "Esc closes it";
}

}  // namespace
}  // namespace veltrano::e2e

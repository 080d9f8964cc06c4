// The program's memory below HKEY_LOCAL_MACHINE\SOFTWARE\VELTRANO\VERSION\2.0:
// one state key per tip with its applied flag, its date and the records of
// what each change replaced, the group undo states and the applied counters.
// HACKING.md ("The store in the registry") draws the layout; only this class
// spells it out.
#pragma once

#include "core/flag_rows.h"
#include "core/registry_primitives.h"
#include "platform/time.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>
#include <string>
#include <string_view>

namespace veltrano::core {

// "S": every state key lies below it.
inline const std::string kStoreRoot = "SOFTWARE\\VELTRANO";
inline const std::string kStateKeyBase = "SOFTWARE\\VELTRANO\\VERSION\\2.0\\";
inline const std::string kAppliedFlag = "HasThisTipBeenApplied";
inline const std::string kAppliedDate = "LastDateThisTipApplied";
inline const std::string kAdaptersKey = "\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Adapters";
inline const std::string kInterfacesKey = "\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
inline constexpr int kTipCount = 48;

// A tip group's undo state, one DWORD below the store: 0 while some of its
// tips are applied, 1 once restored to the factory defaults (or none was
// ever applied), 2 once restored to the previous settings.
struct GroupUndoneValue {
    std::string_view name;
};
inline constexpr GroupUndoneValue kNetworkUndone{"NetworkOptionsUndone"};
inline constexpr GroupUndoneValue kPowerUndone{"PowerOptionsUndone"};
inline constexpr GroupUndoneValue kSystemUndone{"SystemOptionsUndone"};
inline constexpr GroupUndoneValue kCustomizationUndone{"CustomizationOptionsUndone"};

// How many tips were applied when the program started and when it ended:
// the exit page offers a restart when they differ.
enum class AppliedCounter { AtStart, AtEnd };
std::string_view counter_name(AppliedCounter counter);

// What a tip is in the middle of: kept in its state key from before its
// first change until its flag is settled, so that a run ended half way
// (power lost, the process ended) is finished at the next start.
enum class Work { Apply, UndoToFactory, UndoToPrevious };

// "TIP" and the number in four digits: tip_key(7) == "TIP0007".
std::string tip_key(int tip);
// The admin tools' own records beside the tips': auto logon and the legal
// notice, the control panel applets, the time servers. The first two are
// numbered after the last tip, so a tip added to the catalogue would take
// over their keys: the assertion below stops that build.
inline constexpr std::string_view kAutoLogonRecordName = "TIP0049";
inline constexpr std::string_view kControlPanelRecordName = "TIP0050";
constexpr int state_key_number(std::string_view key) {
    int n = 0;
    for (char c : key.substr(3)) n = n * 10 + (c - '0');
    return n;
}
static_assert(state_key_number(kAutoLogonRecordName) > kTipCount &&
                  state_key_number(kControlPanelRecordName) > kTipCount,
              "a tip would share its state key with an admin tool's record: move those records first");
inline const std::string kAutoLogonRecord{kAutoLogonRecordName};
inline const std::string kControlPanelRecord{kControlPanelRecordName};
inline const std::string kTimeServersRecord = "TIMESERVERS";
// A record's OLD_VALUES and NEW_VALUES keys, in that order.
std::vector<std::string> value_record_keys(const std::string& record);
// Whether a key of HKEY_LOCAL_MACHINE lies in the store (or is its root).
bool in_store(const std::string& path);
// Whether the store can be written: its key, or when there is none yet,
// SOFTWARE where the first-run set-up makes it.
bool store_writable(platform::Registry& registry);
// A TCP/IP adapter: its name and its place among the subkeys of the adapters
// key, the skipped ones counted too (records are named after that index).
struct TcpipAdapter {
    std::string name;
    int index;
    // Where the adapter's own settings live.
    std::string interface_key() const { return kInterfacesKey + name; }
};
// The adapters in registry order, without the dial-up pseudo-adapter; none
// (with a log line) when the adapters key cannot be opened.
std::vector<TcpipAdapter> tcpip_adapters(RegistryPrimitives& primitives);

class TipStateStore {
public:
    // The flags are derived from these rows, in their order.
    TipStateStore(RegistryPrimitives& primitives, platform::Time& time, std::span<const FlagRow> flags)
        : reg_(primitives), time_(time), flags_(flags) {}

    // Makes the store when it is missing; a store an earlier version made
    // gets its records' completion marks (mark_earlier_records_complete).
    void check_for_previous_install();
    void create_veltrano_key_structure();
    void set_veltrano_flags();
    // The flags of these tips alone, derived from the machine as the set-up does.
    void derive_flags(std::span<const int> tips);

    // Intent before work: written before a tip's first record or change,
    // cleared once its flag is settled.
    void begin_work(int tip, Work work);
    void end_work(int tip);
    std::optional<Work> work_in_progress(int tip);
    // An earlier version wrote its records without a completion mark: every
    // one that holds all its parts is taken as complete, once.
    void mark_earlier_records_complete();
    // Records cut off before their completion mark: their value was never
    // touched, as each record is written whole before its change.
    void drop_incomplete_records(int tip);

    // Before a tip changes a system value: the tip marked applied, and the
    // value's path, the data it holds now and the data about to be written
    // kept in the tip's OLD_VALUES and NEW_VALUES (a catalogue tip also
    // records the original, once). Not the activity log: that only narrates.
    void record_value(const std::string& tip_name, Root root, const std::string& root_name,
                      const std::string& key_path, const std::string& value_name, ValueType type,
                      const std::string& text, std::int32_t number, bool create_if_missing);
    // As record_value, with the old and new data given by the caller
    // instead of read from the system value (a password kept as a mask);
    // no original is recorded.
    void record_given_values(const std::string& tip_name, Root root, const std::string& root_name,
                             const std::string& key_path, const std::string& value_name,
                             ValueType type, const std::string& old_text,
                             std::int32_t old_number, const std::string& new_text,
                             std::int32_t new_number, bool create_if_missing);

    // Tips 1 to 48 whose flag reads exactly 1.
    int count_applied_tips();

    // The records' own layout, by name: no other code spells it out.
    // Whether the tip's flag reads exactly 1.
    bool is_applied(int tip);
    // The flag written as given, narrated as "Setting flag for TIP00nn".
    void set_applied_flag(int tip, std::int32_t flag);
    // Flag 1 and today's date, each narrated with the caller's words.
    void mark_applied(int tip, const std::string& flag_message, const std::string& date_message);
    // A group's undo state below the store.
    std::int32_t group_undone(GroupUndoneValue group);
    void write_group_undone(GroupUndoneValue group, std::int32_t value);
    // Before a tip of the group changes anything: the group's value reads 0
    // (some of its tips applied) from then on, silently, so that a run
    // stopped before its end still has the Undo page offer the group.
    void mark_group_changing(GroupUndoneValue group);
    std::int32_t read_counter(AppliedCounter counter);
    void write_counter(AppliedCounter counter, std::int32_t value, const std::string& message);
    // A text kept in the tip's OLD_VALUES (a registration a tip empties).
    void write_old_text(int tip, const std::string& name, const std::string& text, const std::string& message);
    std::string old_values_key(int tip) const;
    // A key a tip removes (tips 5, 32 and 34): its path recorded as the
    // tip's REGPATH record, the key itself kept whole for Undo, then deleted
    // with everything below it; narrated with the message given, or
    // silently when it is empty.
    void remove_key_with_record(int tip, Root root, const std::string& parent, const std::string& name,
                                const std::string& record_message, const std::string& removal_message);

    // What the machine held before a tip of the catalogue first changed it,
    // kept under the tip's ORIGINAL_VALUES key with types and data as they
    // were: one numbered record per value or key, in the order recorded.
    // A record already there is kept, so an apply after an undo does not
    // take the first apply's data for the original. Returns whether a new
    // record was made.
    bool record_original_value(const std::string& tip_name, Root root, const std::string& key_path,
                               const std::string& value_name);
    // A key about to be deleted, with every value and subkey below it. True
    // when the key is safely kept (now or by an earlier record); false when
    // it could not be copied whole, and then it must not be deleted.
    bool record_original_key(const std::string& tip_name, Root root, const std::string& key_path);
    // Whether the tip holds complete records.
    bool has_original_records(const std::string& tip_name);
    // Puts a recorded key back as it was, whole; false when the tip holds no
    // record of it (or recorded it absent).
    bool restore_original_key(const std::string& tip_name, Root root, const std::string& key_path);
    // Writes back every complete record of the tip, newest first, then
    // drops them all: the machine holds its originals again and the next
    // apply records anew. Each record loses its completion mark before the
    // rest of it goes, so a drop cut off half way leaves no partial record
    // that could pass for whole.
    void restore_original(const std::string& tip_name);
    // After the factory defaults, which write and delete values but no
    // keys: every key a tip made that holds no value now goes, whichever
    // tip's undo emptied it. The records stay for the previous settings.
    void remove_emptied_keys();
    // Whether the machine shows the tip in effect now, by the tip's flag
    // rows, all of them; read quietly, a wrongly typed value counting as no.
    bool derives_applied(int tip);
    // record_value for a record named otherwise than the system value
    // it keeps (an adapter's "MTU - 1", a registration's
    // "LocalServer32_1_1_(Default)"): the system value's own data is read
    // and recorded under the record's name, an expandable string with its
    // type, an absent value as 0 or "" (its original record says absent).
    void record_value_as(const std::string& tip_name, Root root, const std::string& key_path,
                         const std::string& system_value, const std::string& record_name, ValueType type,
                         const std::string& text, std::int32_t number, bool create_if_missing);

private:
    // What a flag row expects a system value to hold.
    struct Expected {
        Root root;
        std::string key;
        std::string value;
        ValueType type;
        std::string str;
        std::int32_t num;
    };
    // The tip's flag (1 when the system value holds the data expected, else
    // 0) and today's date.
    void compare_and_set(const std::string& tip, const Expected& expected);
    struct Data {
        std::string str;
        std::int32_t num = 0;
        std::optional<platform::RegValue> typed;  // kept with its type (REG_EXPAND_SZ) when set
    };
    void mark_applied(const std::string& tip_name, bool create_if_missing);
    void write_records(const std::string& tip_name, const std::string& root_name, const std::string& key_path,
                       const std::string& value_name, ValueType type,
                       const std::function<Data()>& old_data, const Data& new_data, bool create_if_missing,
                       bool keep_old);
    // The flags from the rows; the lines naming each tip whose value had
    // another type than its row's (it is then not applied), for the log.
    std::vector<std::string> derive(std::span<const FlagRow> rows);
    void derive_row(const FlagRow& row);
    void compare_adapters(const std::string& tip, const std::string& value, std::int32_t data);
    void flag_by_absence(const std::string& tip, const std::string& probe_key);
    std::string originals_key(const std::string& tip_name) const;
    // The record of root\path (and value name, for a value record), or "".
    std::string find_original(const std::string& tip_name, Root root, const std::string& key_path,
                              const std::string* value_name);
    std::unique_ptr<platform::RegKey> new_original(const std::string& tip_name, Root root, const std::string& key_path,
                                                   const std::string& kind, bool present, std::string& record);
    // The records' numbers, complete or not, in the store's order.
    std::vector<std::string> record_numbers(const std::string& tip_name);
    bool is_complete(const std::string& record);
    void drop_record(const std::string& record);
    // Fills a value's OLD_VALUES entry left unwritten by a run ended before
    // it, from the value's original record: what that run would have stored.
    void store_missing_old_value(const std::string& tip_name, Root root, const std::string& key_path,
                                 const std::string& system_value, const std::string& record_name, ValueType type,
                                 bool create_if_missing);
    bool record_missing_key(const std::string& tip_name, Root root, const std::string& key_path);
    void restore_record(const std::string& tip_name, const std::string& record);
    // A record of a key that was absent: the tip made it.
    bool created_key_record(const std::string& record);
    // Another catalogue tip with a complete record of a value in the key or
    // below it, or "".
    std::string tip_with_values_in(Root root, const std::string& key_path, const std::string& except);

    RegistryPrimitives& reg_;
    platform::Time& time_;
    std::span<const FlagRow> flags_;
};

}  // namespace veltrano::core

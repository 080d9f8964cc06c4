#include "core/tip_state_store.h"

#include "core/error.h"
#include "i18n/translate.h"
#include "platform/ascii.h"
#include "platform/registry_path.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace veltrano::core {

using platform::delete_key;
using platform::RegValue;
using platform::ValueKind;
using i18n::tr;
using i18n::trf;

namespace {

// Record layout below TIPnnnn\ORIGINAL_VALUES\<number>.
const std::string kOriginals = "\\ORIGINAL_VALUES";
const std::string kRecRoot = "Root", kRecKey = "Key", kRecKind = "Kind", kRecName = "Name", kRecPresent = "Present",
                  kRecData = "Data", kRecTree = "Tree";
const std::string kKindValue = "VALUE", kKindKey = "KEY";
// Written last, once everything else of the record is there: a record
// without it was cut off and is never trusted.
const std::string kRecComplete = "Complete";
// Beside the records of an earlier version, which carry no mark: once set,
// the store's records have been looked over and marked.
const std::string kRecordsMarked = "RecordsCarryCompletionMark";
// A tip's work under way: one of the texts below, until its flag is settled.
const std::string kWorkInProgress = "WorkInProgress";
const char* const kWorkNames[] = {"Apply", "UndoToFactory", "UndoToPrevious"};

// Paths name the same key with or without their leading backslash and in any case.
std::string comparable_key(const std::string& path) {
    std::string out = platform::ascii_lower(path);
    while (!out.empty() && out.front() == '\\') out.erase(0, 1);
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

std::string text_of(const platform::RegKey& key, const std::string& name) {
    auto v = key.query(name);
    return v && (v->kind == ValueKind::String || v->kind == ValueKind::ExpandString) ? v->text : "";
}

// Only the catalogue's tips keep originals: the admin tools' own state keys
// hold what they must not copy in the clear (the logon password).
bool catalogue_tip(const std::string& tip_name) {
    if (tip_name.size() != 7 || tip_name.rfind("TIP", 0) != 0) return false;
    const int n = std::atoi(tip_name.c_str() + 3);
    return n >= 1 && n <= kTipCount;
}

// Copies every value (type and data as they are) and subkey of one key into
// another; false when anything could not be read or written.
bool copy_tree(platform::Registry& registry, Root from_root, const std::string& from, Root to_root,
               const std::string& to) {
    auto source = registry.open(from_root, from, false);
    auto dest = registry.open(to_root, to, true);
    if (!source || !dest) return false;
    bool whole = true;
    for (const auto& name : source->value_names())
        if (auto v = source->query(name)) whole = dest->set(name, *v) && whole;
    for (const auto& sub : source->subkey_names())
        whole = copy_tree(registry, from_root, from + "\\" + sub, to_root, to + "\\" + sub) && whole;
    return whole;
}

bool holds_values(platform::Registry& registry, Root root, const std::string& path) {
    auto key = registry.open(root, path, false);
    if (!key) return false;
    if (!key->value_names().empty()) return true;
    for (const auto& sub : key->subkey_names())
        if (holds_values(registry, root, path + "\\" + sub)) return true;
    return false;
}

}  // namespace

std::string tip_key(int tip) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "TIP%04d", tip);
    return buf;
}

std::vector<std::string> value_record_keys(const std::string& record) {
    return {kStateKeyBase + record + "\\OLD_VALUES", kStateKeyBase + record + "\\NEW_VALUES"};
}

bool in_store(const std::string& path) {
    const std::string upper = platform::registry_upper(path);
    const std::string store = platform::registry_upper(kStoreRoot);
    return upper == store || upper.rfind(store + "\\", 0) == 0;
}

bool store_writable(platform::Registry& registry) {
    if (registry.open(Root::LocalMachine, kStoreRoot, false)) return true;
    if (registry.open_existing(Root::LocalMachine, kStoreRoot, platform::Access::Read)) return false;
    return registry.open(Root::LocalMachine, "SOFTWARE", false) != nullptr;
}

std::vector<TcpipAdapter> tcpip_adapters(RegistryPrimitives& primitives) {
    auto key = primitives.registry().open(Root::LocalMachine, kAdaptersKey, false);
    if (!key) {
        primitives.log().add(trf("Error opening key: [{0}]", kAdaptersKey));
        return {};
    }
    const auto names = key->subkey_names();
    std::vector<TcpipAdapter> adapters;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] != "NdisWanIp") adapters.push_back({names[i], static_cast<int>(i)});  // dial-up, no interface
    return adapters;
}

void TipStateStore::check_for_previous_install() {
    if (!reg_.registry().open(Root::LocalMachine, kStoreRoot, false)) return create_veltrano_key_structure();
    // A store an earlier version made, used as found once its records are marked.
    auto state = reg_.registry().open(Root::LocalMachine, kStateKeyBase, false);
    if (!state || !state->query(kRecordsMarked)) mark_earlier_records_complete();
}

void TipStateStore::create_veltrano_key_structure() {
    if (reg_.registry().open(Root::LocalMachine, "SOFTWARE", false)) {
        for (int n = 1; n <= kTipCount; ++n) {
            const std::string state_key = kStateKeyBase + tip_key(n);
            reg_.registry().open(Root::LocalMachine, state_key, true);
            reg_.registry().open(Root::LocalMachine, state_key + "\\OLD_VALUES", true);
            reg_.registry().open(Root::LocalMachine, state_key + "\\NEW_VALUES", true);
        }
    }
    const std::vector<std::string> odd = derive(flags_);
    if (auto state = reg_.registry().open(Root::LocalMachine, kStateKeyBase, true))
        state->set(kRecordsMarked, RegValue::number(1));
    // The derivation narrates several hundred lines the user never asked for;
    // the tips it could not judge are the user's business.
    reg_.log().clear();
    for (const std::string& line : odd) reg_.log().add(line);
}

void TipStateStore::derive_flags(std::span<const int> tips) {
    std::vector<FlagRow> rows;
    for (const FlagRow& row : flags_)
        if (std::find(tips.begin(), tips.end(), row.tip) != tips.end()) rows.push_back(row);
    for (const std::string& line : derive(rows)) reg_.log().add(line);
}

void TipStateStore::begin_work(int tip, Work work) {
    // Not narrated: the log tells of the work itself, line by line.
    if (auto state = reg_.registry().open(Root::LocalMachine, kStateKeyBase + tip_key(tip), true))
        state->set(kWorkInProgress, RegValue::string(kWorkNames[static_cast<int>(work)]));
}

void TipStateStore::end_work(int tip) {
    if (auto state = reg_.registry().open(Root::LocalMachine, kStateKeyBase + tip_key(tip), false))
        state->delete_value(kWorkInProgress);
}

std::optional<Work> TipStateStore::work_in_progress(int tip) {
    auto state = reg_.registry().open(Root::LocalMachine, kStateKeyBase + tip_key(tip), false);
    if (!state) return std::nullopt;
    const std::string work = text_of(*state, kWorkInProgress);
    for (int w = 0; w < 3; ++w)
        if (work == kWorkNames[w]) return static_cast<Work>(w);
    return std::nullopt;
}

void TipStateStore::mark_earlier_records_complete() {
    for (int n = 1; n <= kTipCount; ++n) {
        const std::string tip_name = tip_key(n);
        for (const auto& number : record_numbers(tip_name)) {
            const std::string record = originals_key(tip_name) + "\\" + number;
            auto r = reg_.registry().open(Root::LocalMachine, record, false);
            if (!r || r->query(kRecComplete)) continue;
            const auto present = r->query(kRecPresent);
            const std::string kind = text_of(*r, kRecKind);
            bool whole = r->query(kRecRoot) && r->query(kRecKey) && present &&
                         (kind == kKindKey || (kind == kKindValue && r->query(kRecName)));
            if (whole && *present == RegValue::number(1))
                whole = kind == kKindValue ? r->query(kRecData).has_value() : r->open_subkey(kRecTree) != nullptr;
            if (whole) r->set(kRecComplete, RegValue::number(1));
        }
    }
    if (auto state = reg_.registry().open(Root::LocalMachine, kStateKeyBase, true))
        state->set(kRecordsMarked, RegValue::number(1));
}

void TipStateStore::drop_incomplete_records(int tip) {
    const std::string tip_name = tip_key(tip);
    for (const auto& number : record_numbers(tip_name)) {
        const std::string record = originals_key(tip_name) + "\\" + number;
        if (!is_complete(record)) drop_record(record);
    }
}

void TipStateStore::set_veltrano_flags() {
    for (const std::string& line : derive(flags_)) reg_.log().add(line);
}

std::vector<std::string> TipStateStore::derive(std::span<const FlagRow> rows) {
    // A value of another type than its row's tells nothing about the other
    // tips: its own tip is taken as not applied, whatever its later rows
    // say, and the derivation goes on with the next tip.
    std::vector<int> odd_tips;
    std::vector<std::string> odd_lines;
    for (const FlagRow& row : rows) {
        if (std::find(odd_tips.begin(), odd_tips.end(), row.tip) != odd_tips.end()) continue;
        const std::string tip = tip_key(row.tip);
        try {
            derive_row(row);
        } catch (const VeltranoError& e) {
            odd_tips.push_back(row.tip);
            reg_.write_value(Root::LocalMachine, kStateKeyBase + tip, kAppliedFlag, INT_TYPE, "", 0,
                                     trf("Setting flag for {0}", tip), true);
            odd_lines.push_back(trf("{0} is taken as not applied: {1} (it holds a value of another type than the tip writes)",
                                    tip, e.what()));
        }
    }
    return odd_lines;
}

void TipStateStore::derive_row(const FlagRow& row) {
    const std::string tip = tip_key(row.tip);
    switch (row.kind) {
    case FlagRow::Kind::Compare:
        compare_and_set(tip, {row.root, std::string(row.key), std::string(row.value), row.type,
                              std::string(row.str), row.num});
        break;
    case FlagRow::Kind::Adapters:
        compare_adapters(tip, std::string(row.value), row.num);
        break;
    case FlagRow::Kind::Absence:
        flag_by_absence(tip, std::string(row.key));
        break;
    }
}

void TipStateStore::compare_adapters(const std::string& tip, const std::string& value, std::int32_t data) {
    // Every adapter writes the flag in turn; the last one decides.
    for (const auto& adapter : tcpip_adapters(reg_))
        compare_and_set(tip, {Root::LocalMachine, adapter.interface_key(), value, INT_TYPE, "", data});
}

void TipStateStore::flag_by_absence(const std::string& tip, const std::string& probe_key) {
    const bool present = reg_.registry().open(Root::LocalMachine, probe_key, false) != nullptr;
    const std::string state_key = kStateKeyBase + tip;
    reg_.registry().open(Root::LocalMachine, state_key, true);
    reg_.write_value(Root::LocalMachine, state_key, kAppliedFlag, INT_TYPE, "", present ? 0 : 1,
                             trf("Setting {0}", tip), true);
    reg_.write_value(Root::LocalMachine, state_key, kAppliedDate, STR_TYPE,
                             time_.short_date_today(), 0, trf("Setting {0}", tip), true);
}

void TipStateStore::compare_and_set(const std::string& tip, const Expected& expected) {
    const Expected& e = expected;
    const int flag = e.type == STR_TYPE ? reg_.read_text(e.root, e.key, e.value) == e.str
                                        : reg_.read_number(e.root, e.key, e.value) == e.num;
    const std::string state_key = kStateKeyBase + tip;
    reg_.write_value(Root::LocalMachine, state_key, kAppliedFlag, INT_TYPE, "", flag,
                             trf("Setting flag for {0}", tip), true);
    reg_.write_value(Root::LocalMachine, state_key, kAppliedDate, STR_TYPE, time_.short_date_today(), 0,
                             trf("Setting LASTDATE for {0}", tip), true);
}

bool TipStateStore::is_applied(int tip) {
    return reg_.read_number(Root::LocalMachine, kStateKeyBase + tip_key(tip), kAppliedFlag) == 1;
}

void TipStateStore::set_applied_flag(int tip, std::int32_t flag) {
    reg_.write_value(Root::LocalMachine, kStateKeyBase + tip_key(tip), kAppliedFlag, INT_TYPE, "", flag,
                             trf("Setting flag for {0}", tip_key(tip)), true);
}

void TipStateStore::mark_applied(int tip, const std::string& flag_message, const std::string& date_message) {
    const std::string state_key = kStateKeyBase + tip_key(tip);
    reg_.write_value(Root::LocalMachine, state_key, kAppliedFlag, INT_TYPE, "", 1, flag_message, true);
    reg_.write_value(Root::LocalMachine, state_key, kAppliedDate, STR_TYPE, time_.short_date_today(), 0,
                             date_message, true);
}

std::string_view counter_name(AppliedCounter counter) {
    return counter == AppliedCounter::AtStart ? "AppliedTipsCounter_start_of_exec" : "AppliedTipsCounter_end_of_exec";
}

std::int32_t TipStateStore::group_undone(GroupUndoneValue group) {
    return reg_.read_number(Root::LocalMachine, kStateKeyBase, std::string(group.name));
}

void TipStateStore::write_group_undone(GroupUndoneValue group, std::int32_t value) {
    const std::string name(group.name);
    reg_.write_value(Root::LocalMachine, kStateKeyBase, name, INT_TYPE, "", value, trf("Setting {0}", name), true);
}

void TipStateStore::mark_group_changing(GroupUndoneValue group) {
    const std::string name(group.name);
    auto state = reg_.registry().open(Root::LocalMachine, kStateKeyBase, true);
    if (state && state->query(name) != RegValue::number(0)) state->set(name, RegValue::number(0));
}

std::int32_t TipStateStore::read_counter(AppliedCounter counter) {
    return reg_.read_number(Root::LocalMachine, kStateKeyBase, std::string(counter_name(counter)));
}

void TipStateStore::write_counter(AppliedCounter counter, std::int32_t value, const std::string& message) {
    reg_.write_value(Root::LocalMachine, kStateKeyBase, std::string(counter_name(counter)), INT_TYPE, "", value, message,
                     true);
}

std::string TipStateStore::old_values_key(int tip) const { return kStateKeyBase + tip_key(tip) + "\\OLD_VALUES"; }

void TipStateStore::write_old_text(int tip, const std::string& name, const std::string& text,
                                   const std::string& message) {
    reg_.write_value(Root::LocalMachine, old_values_key(tip), name, STR_TYPE, text, 0, message, true);
}

void TipStateStore::remove_key_with_record(int tip, Root root, const std::string& parent, const std::string& name,
                                           const std::string& record_message, const std::string& removal_message) {
    const std::string where = parent.empty() || parent.front() == '\\' ? parent : "\\" + parent;
    write_old_text(tip, "REGPATH_for_" + name, std::string(platform::root_name(root)) + where, record_message);
    // The whole key with its values and subkeys: made again empty by an
    // undo, what the shell kept in it was gone.
    if (!record_original_key(tip_key(tip), root, parent + "\\" + name)) {
        // Deleted now, what the record lacks would be gone for good.
        reg_.log().add(trf("[{0}] key is kept: it could not be recorded whole", parent + "\\" + name));
        return;
    }
    if (!removal_message.empty()) {
        reg_.delete_entry(root, parent, name, KEY, removal_message);
    } else if (auto parent_key = reg_.registry().open(root, parent, false)) {
        parent_key->delete_subtree(name);
    }
}

void TipStateStore::mark_applied(const std::string& tip_name, bool create_if_missing) {
    const std::string state_key = kStateKeyBase + tip_name;
    reg_.write_value(Root::LocalMachine, state_key, kAppliedFlag, INT_TYPE, "", 1,
                             trf("Setting flag for {0}", tip_name), create_if_missing);
    reg_.write_value(Root::LocalMachine, state_key, kAppliedDate, STR_TYPE, time_.short_date_today(), 0,
                             trf("Setting LASTDATE for {0}", tip_name), create_if_missing);
}

void TipStateStore::write_records(const std::string& tip_name, const std::string& root_name,
                                  const std::string& key_path, const std::string& value_name,
                                  ValueType type, const std::function<Data()>& old_data,
                                  const Data& new_data, bool create_if_missing, bool keep_old) {
    const std::string old_values = kStateKeyBase + tip_name + "\\OLD_VALUES";
    const std::string new_values = kStateKeyBase + tip_name + "\\NEW_VALUES";
    const std::string where = root_name + key_path;
    const std::string regpath = "REGPATH_for_" + value_name;

    reg_.write_value(Root::LocalMachine, old_values, regpath, STR_TYPE, where, 0,
                             trf("Storing REGPATH for {0}", value_name), create_if_missing);
    // The old data is read only now, after its path is stored: a wrongly typed
    // system value stops the apply with that much recorded.
    const Data old = old_data();
    if (keep_old) {
        // Applied again after an undo: the value found now is what the first
        // apply wrote, and the original must not be lost under it.
        reg_.log().add(trf("Keeping original old value of {0}", value_name));
    } else if (old.typed) {
        reg_.write_exact_value(Root::LocalMachine, old_values, value_name, *old.typed,
                                  trf("Storing old value of {0}", value_name), create_if_missing);
    } else {
        reg_.write_value(Root::LocalMachine, old_values, value_name, type, old.str, old.num,
                                 trf("Storing old value of {0}", value_name), create_if_missing);
    }
    reg_.write_value(Root::LocalMachine, new_values, regpath, STR_TYPE, where, 0,
                             trf("Storing REGPATH for {0}", value_name), create_if_missing);
    reg_.write_value(Root::LocalMachine, new_values, value_name, type, new_data.str, new_data.num,
                             trf("Storing new value of {0}", value_name), create_if_missing);
}

void TipStateStore::record_value(const std::string& tip_name, Root root, const std::string& root_name,
                                 const std::string& key_path, const std::string& value_name,
                                 ValueType type, const std::string& text,
                                 std::int32_t number, bool create_if_missing) {
    const bool keep = catalogue_tip(tip_name) && !find_original(tip_name, root, key_path, &value_name).empty();
    if (keep) store_missing_old_value(tip_name, root, key_path, value_name, value_name, type, create_if_missing);
    if (catalogue_tip(tip_name)) record_original_value(tip_name, root, key_path, value_name);
    mark_applied(tip_name, create_if_missing);
    auto current = [&]() -> Data {
        if (type == STR_TYPE) return {reg_.read_text(root, key_path, value_name), 0, {}};
        return {"", reg_.read_number(root, key_path, value_name), {}};
    };
    write_records(tip_name, root_name, key_path, value_name, type, current, {text, number, {}},
                  create_if_missing, keep);
}

void TipStateStore::record_value_as(const std::string& tip_name, Root root, const std::string& key_path,
                                    const std::string& system_value, const std::string& record_name,
                                    ValueType type, const std::string& text, std::int32_t number,
                                    bool create_if_missing) {
    const bool keep = !find_original(tip_name, root, key_path, &system_value).empty();
    if (keep) store_missing_old_value(tip_name, root, key_path, system_value, record_name, type, create_if_missing);
    record_original_value(tip_name, root, key_path, system_value);
    mark_applied(tip_name, create_if_missing);
    auto current = [&]() -> Data {
        std::optional<RegValue> found;
        if (auto key = reg_.registry().open(root, key_path, false)) found = key->query(system_value);
        // Absent: the record says 0 or "", and the original record says absent.
        if (!found) return {};
        if (type == INT_TYPE) return {"", read_integer(*found, system_value), {}};
        std::string held = read_string(*found, system_value);
        if (found->kind == ValueKind::ExpandString) return {held, 0, *found};
        return {held, 0, {}};
    };
    write_records(tip_name, platform::root_name(root), key_path, record_name, type, current,
                  {text, number, {}}, create_if_missing, keep);
}

void TipStateStore::record_given_values(const std::string& tip_name, Root /*root*/,
                                        const std::string& root_name, const std::string& key_path,
                                        const std::string& value_name, ValueType type,
                                        const std::string& old_text, std::int32_t old_number,
                                        const std::string& new_text, std::int32_t new_number,
                                        bool create_if_missing) {
    mark_applied(tip_name, create_if_missing);
    write_records(tip_name, root_name, key_path, value_name, type,
                  [&]() -> Data { return {old_text, old_number, {}}; }, {new_text, new_number, {}},
                  create_if_missing, false);
}

// ---- the originals

std::string TipStateStore::originals_key(const std::string& tip_name) const {
    return kStateKeyBase + tip_name + kOriginals;
}

void TipStateStore::store_missing_old_value(const std::string& tip_name, Root root, const std::string& key_path,
                                            const std::string& system_value, const std::string& record_name,
                                            ValueType type, bool create_if_missing) {
    const std::string old_values = kStateKeyBase + tip_name + "\\OLD_VALUES";
    if (auto old = reg_.registry().open(Root::LocalMachine, old_values, false); old && old->query(record_name)) return;
    auto r = reg_.registry().open(Root::LocalMachine, find_original(tip_name, root, key_path, &system_value), false);
    if (!r) return;
    const auto data = r->query(kRecPresent) == RegValue::number(1) ? r->query(kRecData) : std::nullopt;
    if (data && data->kind == ValueKind::ExpandString && record_name != system_value) {
        reg_.write_exact_value(Root::LocalMachine, old_values, record_name, *data,
                                  trf("Storing old value of {0}", record_name), create_if_missing);
        return;
    }
    const bool is_int = type == INT_TYPE;
    reg_.write_value(Root::LocalMachine, old_values, record_name, type,
                             data && !is_int ? read_string(*data, system_value) : "",
                             data && is_int ? read_integer(*data, system_value) : 0,
                             trf("Storing old value of {0}", record_name), create_if_missing);
}

std::vector<std::string> TipStateStore::record_numbers(const std::string& tip_name) {
    auto records = reg_.registry().open(Root::LocalMachine, originals_key(tip_name), false);
    return records ? records->subkey_names() : std::vector<std::string>{};
}

bool TipStateStore::is_complete(const std::string& record) {
    auto r = reg_.registry().open(Root::LocalMachine, record, false);
    return r && r->query(kRecComplete) == RegValue::number(1);
}

void TipStateStore::drop_record(const std::string& record) {
    if (auto r = reg_.registry().open(Root::LocalMachine, record, false)) r->delete_value(kRecComplete);
    delete_key(reg_.registry(), Root::LocalMachine, record);
}

std::string TipStateStore::find_original(const std::string& tip_name, Root root, const std::string& key_path,
                                         const std::string* value_name) {
    const std::string wanted = comparable_key(key_path);
    for (const auto& number : record_numbers(tip_name)) {
        const std::string record = originals_key(tip_name) + "\\" + number;
        auto r = reg_.registry().open(Root::LocalMachine, record, false);
        if (!r || r->query(kRecComplete) != RegValue::number(1) ||
            text_of(*r, kRecRoot) != platform::root_name(root) ||
            comparable_key(text_of(*r, kRecKey)) != wanted)
            continue;
        const bool is_value = text_of(*r, kRecKind) == kKindValue;
        if (value_name ? is_value && comparable_key(text_of(*r, kRecName)) == comparable_key(*value_name) : !is_value)
            return record;
    }
    return "";
}

// A new numbered record of what stood at root\path, filled with where and
// what it is; null, said in the log, when the store itself refuses it.
std::unique_ptr<platform::RegKey> TipStateStore::new_original(const std::string& tip_name, Root root,
                                                              const std::string& key_path, const std::string& kind,
                                                              bool present, std::string& record) {
    // After the highest number: a record dropped half way leaves a gap.
    unsigned highest = 0;
    for (const auto& n : record_numbers(tip_name))
        highest = std::max(highest, static_cast<unsigned>(std::strtoul(n.c_str(), nullptr, 10)));
    char number[16];
    std::snprintf(number, sizeof number, "%04u", highest + 1);
    record = originals_key(tip_name) + "\\" + number;
    auto r = reg_.registry().open(Root::LocalMachine, record, true);
    if (!r) {
        reg_.log().add(trf("Error opening key: [{0}]", record));
        return nullptr;
    }
    r->set(kRecRoot, RegValue::string(platform::root_name(root)));
    r->set(kRecKey, RegValue::string(key_path));
    r->set(kRecKind, RegValue::string(kind));
    r->set(kRecPresent, RegValue::number(present ? 1 : 0));
    return r;
}

bool TipStateStore::record_missing_key(const std::string& tip_name, Root root, const std::string& key_path) {
    // The highest missing key along the path is the one a write creates
    // first, and the one to take away again.
    std::string missing;
    std::string path = key_path;
    while (!comparable_key(path).empty() && !reg_.registry().open(root, path, false)) {
        missing = path;
        path = platform::parent_and_name(path).first;
    }
    if (missing.empty() || !find_original(tip_name, root, missing, nullptr).empty()) return false;
    std::string record;
    auto r = new_original(tip_name, root, missing, kKindKey, false, record);
    return r && r->set(kRecComplete, RegValue::number(1));
}

bool TipStateStore::record_original_value(const std::string& tip_name, Root root, const std::string& key_path,
                                          const std::string& value_name) {
    if (!find_original(tip_name, root, key_path, &value_name).empty()) return false;
    record_missing_key(tip_name, root, key_path);
    std::optional<RegValue> found;
    if (auto key = reg_.registry().open(root, key_path, false)) found = key->query(value_name);
    std::string record;
    auto r = new_original(tip_name, root, key_path, kKindValue, found.has_value(), record);
    if (!r) return false;
    r->set(kRecName, RegValue::string(value_name));
    if (found && !r->set(kRecData, *found)) {
        reg_.log().add(trf("Data value {0} could not be kept: {1}", value_name, r->last_error_text()));
        return false;
    }
    return r->set(kRecComplete, RegValue::number(1));
}

bool TipStateStore::record_original_key(const std::string& tip_name, Root root, const std::string& key_path) {
    if (!find_original(tip_name, root, key_path, nullptr).empty()) return true;
    const bool present = reg_.registry().open(root, key_path, false) != nullptr;
    std::string record;
    auto r = new_original(tip_name, root, key_path, kKindKey, present, record);
    if (!r) return false;
    if (present && !copy_tree(reg_.registry(), root, key_path, Root::LocalMachine, record + "\\" + kRecTree)) {
        reg_.log().add(trf("[{0}] key could not be kept whole", key_path));
        return false;
    }
    return r->set(kRecComplete, RegValue::number(1));
}

bool TipStateStore::has_original_records(const std::string& tip_name) {
    for (const auto& number : record_numbers(tip_name))
        if (is_complete(originals_key(tip_name) + "\\" + number)) return true;
    return false;
}

bool TipStateStore::restore_original_key(const std::string& tip_name, Root root, const std::string& key_path) {
    const std::string record = find_original(tip_name, root, key_path, nullptr);
    if (record.empty()) return false;
    auto r = reg_.registry().open(Root::LocalMachine, record, false);
    if (!r || r->query(kRecPresent) != RegValue::number(1)) return false;
    // Whatever stands there now goes first, so the key is exactly as recorded.
    delete_key(reg_.registry(), root, key_path);
    if (!copy_tree(reg_.registry(), Root::LocalMachine, record + "\\" + kRecTree, root, key_path))
        reg_.log().add(trf("[{0}] key could not be restored: {1}", key_path, reg_.registry().last_error_text()));
    return true;
}

bool TipStateStore::created_key_record(const std::string& record) {
    auto r = reg_.registry().open(Root::LocalMachine, record, false);
    return r && text_of(*r, kRecKind) == kKindKey && r->query(kRecPresent) != RegValue::number(1);
}

void TipStateStore::restore_record(const std::string& tip_name, const std::string& record) {
    auto r = reg_.registry().open(Root::LocalMachine, record, false);
    if (!r) return;
    const auto root = platform::root_from_name(text_of(*r, kRecRoot));
    if (!root) return;
    const std::string key = text_of(*r, kRecKey);
    const bool present = r->query(kRecPresent) == RegValue::number(1);
    if (text_of(*r, kRecKind) == kKindValue) {
        const std::string name = text_of(*r, kRecName);
        const auto data = r->query(kRecData);
        if (present && data)
            reg_.write_exact_value(*root, key, name, *data, trf("Restoring previous value of {0}", name), true);
        else
            reg_.delete_entry(*root, key, name, VALUENAME, trf("Restoring previous absence of {0}", name));
        return;
    }
    if (present) {
        reg_.log().add(trf("Restoring previous key [{0}]", key));
        delete_key(reg_.registry(), *root, key);
        if (!copy_tree(reg_.registry(), Root::LocalMachine, record + "\\" + kRecTree, *root, key))
            reg_.log().add(trf("[{0}] key could not be restored: {1}", key, reg_.registry().last_error_text()));
        return;
    }
    // A key the tip made: it goes again, unless values are left in it.
    if (!reg_.registry().open(*root, key, false)) return;
    reg_.log().add(trf("Restoring previous absence of key [{0}]", key));
    if (holds_values(reg_.registry(), *root, key)) {
        // Another tip's values keep it for now: that tip takes the key
        // away when it is undone, whichever of them goes last.
        if (const std::string heir = tip_with_values_in(*root, key, tip_name); !heir.empty()) {
            std::string handed;
            if (auto h = new_original(heir, *root, key, kKindKey, false, handed); h && h->set(kRecComplete, RegValue::number(1))) {
                reg_.log().add(trf("[{0}] key holds values of {1} and goes when that tip is undone", key, heir));
                return;
            }
        }
        reg_.log().add(trf("[{0}] key holds other values and is kept", key));
        return;
    }
    if (!delete_key(reg_.registry(), *root, key))
        reg_.log().add(trf("[{0}] key could not be deleted", key));
}

std::string TipStateStore::tip_with_values_in(Root root, const std::string& key_path, const std::string& except) {
    const std::string key = comparable_key(key_path);
    for (int n = 1; n <= kTipCount; ++n) {
        const std::string tip_name = tip_key(n);
        if (tip_name == except) continue;
        for (const auto& number : record_numbers(tip_name)) {
            auto r = reg_.registry().open(Root::LocalMachine, originals_key(tip_name) + "\\" + number, false);
            if (!r || r->query(kRecComplete) != RegValue::number(1) || text_of(*r, kRecKind) != kKindValue ||
                text_of(*r, kRecRoot) != platform::root_name(root))
                continue;
            const std::string where = comparable_key(text_of(*r, kRecKey));
            if (where == key || where.rfind(key + "\\", 0) == 0) return tip_name;
        }
    }
    return "";
}

void TipStateStore::remove_emptied_keys() {
    for (int n = 1; n <= kTipCount; ++n) {
        const std::string tip_name = tip_key(n);
        for (const auto& number : record_numbers(tip_name)) {
            const std::string record = originals_key(tip_name) + "\\" + number;
            if (!is_complete(record) || !created_key_record(record)) continue;
            auto r = reg_.registry().open(Root::LocalMachine, record, false);
            const auto root = r ? platform::root_from_name(text_of(*r, kRecRoot)) : std::nullopt;
            if (!root) continue;
            const std::string key = text_of(*r, kRecKey);
            if (!reg_.registry().open(*root, key, false) || holds_values(reg_.registry(), *root, key)) continue;
            reg_.log().add(trf("[{0}] key was made by {1} and is empty now: it goes", key, tip_name));
            if (!delete_key(reg_.registry(), *root, key)) reg_.log().add(trf("[{0}] key could not be deleted", key));
        }
    }
}

void TipStateStore::restore_original(const std::string& tip_name) {
    std::vector<std::string> numbers = record_numbers(tip_name);
    // Newest first: a value is put back before the key it lies in; the keys
    // the tip made come last, when every value of the tip has left them
    // (a key handed over by another tip is newer than the values in it).
    std::sort(numbers.rbegin(), numbers.rend());
    std::vector<std::string> created;
    for (const auto& number : numbers) {
        const std::string record = originals_key(tip_name) + "\\" + number;
        if (!is_complete(record)) continue;
        if (created_key_record(record))
            created.push_back(record);
        else
            restore_record(tip_name, record);
    }
    for (const auto& record : created) restore_record(tip_name, record);
    // Dropped only once every record is back: a restore cut off half way
    // is done again, whole, from the same records.
    for (const auto& number : numbers) drop_record(originals_key(tip_name) + "\\" + number);
    delete_key(reg_.registry(), Root::LocalMachine, originals_key(tip_name));
}

bool TipStateStore::derives_applied(int tip) {
    bool any = false;
    for (const FlagRow& row : flags_) {
        if (row.tip != tip) continue;
        switch (row.kind) {
        case FlagRow::Kind::Compare: {
            std::optional<RegValue> found;
            if (auto key = reg_.registry().open(row.root, std::string(row.key), false))
                found = key->query(std::string(row.value));
            bool same = false;
            if (row.type == STR_TYPE)
                same = found ? (found->kind == ValueKind::String || found->kind == ValueKind::ExpandString) &&
                                   found->text == row.str
                             : row.str.empty();
            else
                same = found ? found->kind == ValueKind::Dword && static_cast<std::int32_t>(found->dword) == row.num
                             : row.num == 0;
            if (!same) return false;
            any = true;
            break;
        }
        case FlagRow::Kind::Adapters:
            for (const auto& adapter : tcpip_adapters(reg_)) {
                std::optional<RegValue> found;
                if (auto key = reg_.registry().open(Root::LocalMachine, adapter.interface_key(), false))
                    found = key->query(std::string(row.value));
                if (!found || found->kind != ValueKind::Dword || static_cast<std::int32_t>(found->dword) != row.num)
                    return false;
                any = true;
            }
            break;
        case FlagRow::Kind::Absence:
            if (reg_.registry().open(Root::LocalMachine, std::string(row.key), false)) return false;
            any = true;
            break;
        }
    }
    return any;
}

int TipStateStore::count_applied_tips() {
    int applied = 0;
    for (int n = 1; n <= kTipCount; ++n)
        if (reg_.read_number(Root::LocalMachine, kStateKeyBase + tip_key(n), kAppliedFlag) == 1)
            ++applied;
    return applied;
}

}  // namespace veltrano::core

// Tips 1 to 7: the DNS cache, the redirector, path MTU discovery, the AFD
// driver, the remote-computer namespace scan, HTTP connections and the MTU.
#include "tips/groups.h"

namespace veltrano::tips {

namespace {

constexpr Root LM = Root::LocalMachine;
constexpr Root CU = Root::CurrentUser;

constexpr std::string_view kDnsCache = "\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
constexpr std::string_view kRedirector = "\\SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\Parameters";
constexpr std::string_view kAfd = "\\SYSTEM\\CurrentControlSet\\Services\\AFD\\Parameters";
constexpr std::string_view kInternetSettings = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kRemoteNameSpace = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace";
const std::string kSchedulerClass = "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}";

constexpr WriteRow kWrites[] = {
    int_row(1, LM, kDnsCache, "CacheHashTableBucketSize", 1, false, "Starting the process of enabling CacheHashTableBucketSize"),
    int_row(1, LM, kDnsCache, "CacheHashTableSize", 384, false, "Starting the process of boosting CacheHashTableSize"),
    int_row(1, LM, kDnsCache, "MaxCacheEntryTtlLimit", 64000, false, "Starting the process of boosting MaxCacheEntryTtlLimit"),
    int_row(1, LM, kDnsCache, "MaxSOACacheEntryTtlLimit", 301, false, "Starting the process of boosting MaxSOACacheEntryTtlLimit"),
    int_row(2, LM, kRedirector, "MaxCmds", 104, false, "Starting the process of boosting MaxCmds"),
    int_row(2, LM, kRedirector, "MaxThreads", 104, false, "Starting the process of boosting MaxThreads"),
    int_row(4, LM, kAfd, "TransmitWorker", 16, true, "Starting the process of boosting TransmitWorker"),
    int_row(4, LM, kAfd, "PriorityBoost", 10, true, "Starting the process of boosting PriorityBoost"),
    int_row(6, CU, kInternetSettings, "MaxConnectionsPerServer", 8, false, "Starting the process of boosting MaxConnectionsPerServer"),
    int_row(6, CU, kInternetSettings, "MaxConnectionsPer1_0Server", 8, false, "Starting the process of boosting MaxConnectionsPer1_0Server"),
};

// Tips 3 and 7 record and write adapter by adapter; the record's name
// carries the adapter's index, so two adapters do not share one record. What
// it keeps is the adapter's own value: looked up under the record's name, it
// was never found and every record read 0.
void set_on_adapters(Engine& ctx, int tip, const std::string& value, std::int32_t data, const std::string& message) {
    for (const core::TcpipAdapter& adapter : core::tcpip_adapters(ctx.reg)) {
        const std::string key = adapter.interface_key();
        ctx.store.record_value_as(core::tip_key(tip), LM, key, value,
                                  value + " - " + std::to_string(adapter.index), core::INT_TYPE, "", data, true);
        ctx.reg.Manipulate_Registry(LM, key, value, core::INT_TYPE, "", data, message, false);
    }
}

void enable_path_mtu_discovery(Engine& ctx) {
    set_on_adapters(ctx, 3, "EnablePMTUDiscovery", 1, "Starting the process of enabling EnablePMTUDiscovery");
}

void set_mtu_size(Engine& ctx) {
    set_on_adapters(ctx, 7, "MTU", 1500, "Starting the process of setting correct MTU size");
}

// Tip 5 marks itself applied before it looks: with the namespace gone there
// is nothing to remove and the machine already has the tip's effect.
void remove_scheduled_tasks_scan(Engine& ctx) {
    auto& reg = ctx.reg;
    reg.log().add("Starting the process of removing scheduled tasks scan");
    ctx.store.mark_applied(5, "Setting TIP0005", "Setting LASTDATE for TIP0005");
    std::vector<std::string> entries;
    {
        auto ns = reg.registry().open(LM, kRemoteNameSpace, false);
        if (!ns) {
            reg.log().add("Key does not exist and system is already boosted by skipping scheduled task scan");
            return;
        }
        entries = ns->subkey_names();
    }
    for (const std::string& name : entries)
        reg.log().add("Key: [" + kRemoteNameSpace + "] has an entry called " + name);
    ctx.store.remove_key_with_record(5, LM, kRemoteNameSpace, kSchedulerClass,
                                     "Storing REGPATH for " + kSchedulerClass + " ", "");
    reg.log().add("Key did exist and system has been boosted by deleting this key from registry");
}

constexpr SpecialTip kSpecials[] = {
    {3, enable_path_mtu_discovery},
    {5, remove_scheduled_tasks_scan},
    {7, set_mtu_size},
};

constexpr std::string_view kPerAdapter = "it writes one value per network adapter, and the adapters differ from machine to machine";
constexpr ExportRow kExports[] = {
    {3, LM, "", kPerAdapter},
    {5, LM, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace\\"
            "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}", ""},
    {7, LM, "", kPerAdapter},
};

// How the store tells whether each tip is in effect on this machine.
using core::flag::absent;
using core::flag::compare;
using core::flag::on_adapters;

constexpr core::FlagRow kFlags[] = {
    compare(1, LM, kDnsCache, "CacheHashTableBucketSize", 1),
    compare(1, LM, kDnsCache, "CacheHashTableSize", 384),
    compare(1, LM, kDnsCache, "MaxCacheEntryTtlLimit", 64000),
    compare(1, LM, kDnsCache, "MaxSOACacheEntryTtlLimit", 301),
    compare(2, LM, kRedirector, "MaxCmds", 104),
    compare(2, LM, kRedirector, "MaxThreads", 104),
    on_adapters(3, "EnablePMTUDiscovery", 1),
    compare(4, LM, kAfd, "TransmitWorker", 16),
    compare(4, LM, kAfd, "PriorityBoost", 10),
    absent(5, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace\\"
              "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}"),
    compare(6, CU, kInternetSettings, "MaxConnectionsPerServer", 8),
    compare(6, CU, kInternetSettings, "MaxConnectionsPer1_0Server", 8),
    on_adapters(7, "MTU", 1500),
};

using namespace restore;

constexpr RestoreStep kRestore[] = {
    delete_value(1, LM, kDnsCache, "CacheHashTableBucketSize", "Starting the process of deleting CacheHashTableBucketSize"),
    delete_value(1, LM, kDnsCache, "CacheHashTableSize", "Starting the process of deleting CacheHashTableSize"),
    delete_value(1, LM, kDnsCache, "MaxCacheEntryTtlLimit", "Starting the process of deleting MaxCacheEntryTtlLimit"),
    delete_value(1, LM, kDnsCache, "MaxSOACacheEntryTtlLimit", "Starting the process of deleting MaxSOACacheEntryTtlLimit"),
    delete_value(2, LM, kRedirector, "MaxCmds", "Starting the process of deleting MaxCmds"),
    delete_value(2, LM, kRedirector, "MaxThreads", "Starting the process of deleting MaxThreads"),
    delete_on_adapters(3, "EnablePMTUDiscovery", "Starting the process of deleting EnablePMTUDiscovery"),
    delete_value(4, LM, kAfd, "TransmitWorker", "Starting the process of deleting TransmitWorker"),
    delete_value(4, LM, kAfd, "PriorityBoost", "Starting the process of deleting PriorityBoost"),
    // The AFD parameters may hold settings of other programs or of the
    // administrator; the key goes only when the tip's values were all it held.
    delete_key_if_empty(4, LM, kAfd),
    recreate_key(5, LM, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace\\"
                      "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}"),
    delete_value(6, CU, kInternetSettings, "MaxConnectionsPerServer", "Starting the process of deleting MaxConnectionsPerServer"),
    delete_value(6, CU, kInternetSettings, "MaxConnectionsPer1_0Server", "Starting the process of deleting MaxConnectionsPer1_0Server"),
    delete_on_adapters(7, "MTU", "Starting the process of deleting correct MTU size"),
};

static_assert(exports_cover_specials(kSpecials, kExports));
static_assert(covers_every_tip(Group::Network, kWrites, kSpecials, kRestore, kFlags));
static_assert(std::size(kWrites) == 10 && std::size(kRestore) == 14);

}  // namespace

const GroupTables& network_tables() {
    static const GroupTables tables{Group::Network, kWrites, kSpecials, kRestore, kFlags, kExports};
    return tables;
}

}  // namespace veltrano::tips

// Tips 1 to 7: the DNS cache, the redirector, path MTU discovery, the AFD
// driver, the remote-computer namespace scan, HTTP connections and the MTU.
#include "i18n/translate.h"
#include "tips/groups.h"

namespace veltrano::tips {

using enum platform::Root;
using i18n::N_;
using i18n::tr;
using i18n::trf;

namespace {


constexpr std::string_view kDnsCache = "\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
constexpr std::string_view kRedirector = "\\SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\Parameters";
constexpr std::string_view kAfd = "\\SYSTEM\\CurrentControlSet\\Services\\AFD\\Parameters";
constexpr std::string_view kInternetSettings = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kRemoteNameSpace = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace";
const std::string kSchedulerClass = "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}";

constexpr WriteRow kWrites[] = {
    int_row(1, LocalMachine, kDnsCache, "CacheHashTableBucketSize", 1, false, N_("Starting the process of enabling CacheHashTableBucketSize")),
    int_row(1, LocalMachine, kDnsCache, "CacheHashTableSize", 384, false, N_("Starting the process of boosting CacheHashTableSize")),
    int_row(1, LocalMachine, kDnsCache, "MaxCacheEntryTtlLimit", 64000, false, N_("Starting the process of boosting MaxCacheEntryTtlLimit")),
    int_row(1, LocalMachine, kDnsCache, "MaxSOACacheEntryTtlLimit", 301, false, N_("Starting the process of boosting MaxSOACacheEntryTtlLimit")),
    int_row(2, LocalMachine, kRedirector, "MaxCmds", 104, false, N_("Starting the process of boosting MaxCmds")),
    int_row(2, LocalMachine, kRedirector, "MaxThreads", 104, false, N_("Starting the process of boosting MaxThreads")),
    int_row(4, LocalMachine, kAfd, "TransmitWorker", 16, true, N_("Starting the process of boosting TransmitWorker")),
    int_row(4, LocalMachine, kAfd, "PriorityBoost", 10, true, N_("Starting the process of boosting PriorityBoost")),
    int_row(6, CurrentUser, kInternetSettings, "MaxConnectionsPerServer", 8, false, N_("Starting the process of boosting MaxConnectionsPerServer")),
    int_row(6, CurrentUser, kInternetSettings, "MaxConnectionsPer1_0Server", 8, false, N_("Starting the process of boosting MaxConnectionsPer1_0Server")),
};

// Tips 3 and 7 record and write adapter by adapter; the record's name
// carries the adapter's index, so two adapters do not share one record. What
// it keeps is the adapter's own value: looked up under the record's name, it
// was never found and every record read 0.
// The message is English, marked where it is written, and logged in the language in use.
void set_on_adapters(TipServices& services, int tip, const std::string& value, std::int32_t data, std::string_view message) {
    for (const core::TcpipAdapter& adapter : core::tcpip_adapters(services.reg)) {
        const std::string key = adapter.interface_key();
        services.store.record_value_as(core::tip_key(tip), LocalMachine, key, value,
                                  value + " - " + std::to_string(adapter.index), core::INT_TYPE, "", data, true);
        services.reg.write_value(LocalMachine, key, value, core::INT_TYPE, "", data, tr(message), false);
    }
}

void enable_path_mtu_discovery(TipServices& services) {
    set_on_adapters(services, 3, "EnablePMTUDiscovery", 1, N_("Starting the process of enabling EnablePMTUDiscovery"));
}

void set_mtu_size(TipServices& services) {
    set_on_adapters(services, 7, "MTU", 1500, N_("Starting the process of setting correct MTU size"));
}

// Tip 5 marks itself applied before it looks: with the namespace gone there
// is nothing to remove and the machine already has the tip's effect.
void remove_scheduled_tasks_scan(TipServices& services) {
    auto& reg = services.reg;
    reg.log().add(tr("Starting the process of removing scheduled tasks scan"));
    services.store.mark_applied(5, trf("Setting {0}", "TIP0005"), trf("Setting LASTDATE for {0}", "TIP0005"));
    std::vector<std::string> entries;
    {
        auto ns = reg.registry().open(LocalMachine, kRemoteNameSpace, false);
        if (!ns) {
            reg.log().add(tr("Key does not exist and system is already boosted by skipping scheduled task scan"));
            return;
        }
        entries = ns->subkey_names();
    }
    for (const std::string& name : entries)
        reg.log().add(trf("Key: [{0}] has an entry called {1}", kRemoteNameSpace, name));
    services.store.remove_key_with_record(5, LocalMachine, kRemoteNameSpace, kSchedulerClass,
                                     trf("Storing REGPATH for {0} ", kSchedulerClass), "");
    reg.log().add(tr("Key did exist and system has been boosted by deleting this key from registry"));
}

constexpr SpecialTip kSpecials[] = {
    {3, enable_path_mtu_discovery},
    {5, remove_scheduled_tasks_scan},
    {7, set_mtu_size},
};

constexpr std::string_view kPerAdapter = "it writes one value per network adapter, and the adapters differ from machine to machine";
constexpr ExportRow kExports[] = {
    {3, LocalMachine, "", kPerAdapter},
    {5, LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace\\"
            "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}", ""},
    {7, LocalMachine, "", kPerAdapter},
};

// How the store tells whether each tip is in effect on this machine.
using core::flag::absent;
using core::flag::compare;
using core::flag::on_adapters;

constexpr core::FlagRow kFlags[] = {
    compare(1, LocalMachine, kDnsCache, "CacheHashTableBucketSize", 1),
    compare(1, LocalMachine, kDnsCache, "CacheHashTableSize", 384),
    compare(1, LocalMachine, kDnsCache, "MaxCacheEntryTtlLimit", 64000),
    compare(1, LocalMachine, kDnsCache, "MaxSOACacheEntryTtlLimit", 301),
    compare(2, LocalMachine, kRedirector, "MaxCmds", 104),
    compare(2, LocalMachine, kRedirector, "MaxThreads", 104),
    on_adapters(3, "EnablePMTUDiscovery", 1),
    compare(4, LocalMachine, kAfd, "TransmitWorker", 16),
    compare(4, LocalMachine, kAfd, "PriorityBoost", 10),
    absent(5, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace\\"
              "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}"),
    compare(6, CurrentUser, kInternetSettings, "MaxConnectionsPerServer", 8),
    compare(6, CurrentUser, kInternetSettings, "MaxConnectionsPer1_0Server", 8),
    on_adapters(7, "MTU", 1500),
};

using namespace restore;

constexpr RestoreStep kRestore[] = {
    delete_value(1, LocalMachine, kDnsCache, "CacheHashTableBucketSize", N_("Starting the process of deleting CacheHashTableBucketSize")),
    delete_value(1, LocalMachine, kDnsCache, "CacheHashTableSize", N_("Starting the process of deleting CacheHashTableSize")),
    delete_value(1, LocalMachine, kDnsCache, "MaxCacheEntryTtlLimit", N_("Starting the process of deleting MaxCacheEntryTtlLimit")),
    delete_value(1, LocalMachine, kDnsCache, "MaxSOACacheEntryTtlLimit", N_("Starting the process of deleting MaxSOACacheEntryTtlLimit")),
    delete_value(2, LocalMachine, kRedirector, "MaxCmds", N_("Starting the process of deleting MaxCmds")),
    delete_value(2, LocalMachine, kRedirector, "MaxThreads", N_("Starting the process of deleting MaxThreads")),
    delete_on_adapters(3, "EnablePMTUDiscovery", N_("Starting the process of deleting EnablePMTUDiscovery")),
    delete_value(4, LocalMachine, kAfd, "TransmitWorker", N_("Starting the process of deleting TransmitWorker")),
    delete_value(4, LocalMachine, kAfd, "PriorityBoost", N_("Starting the process of deleting PriorityBoost")),
    // The AFD parameters may hold settings of other programs or of the
    // administrator; the key goes only when the tip's values were all it held.
    delete_key_if_empty(4, LocalMachine, kAfd),
    recreate_key(5, LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace\\"
                      "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}"),
    delete_value(6, CurrentUser, kInternetSettings, "MaxConnectionsPerServer", N_("Starting the process of deleting MaxConnectionsPerServer")),
    delete_value(6, CurrentUser, kInternetSettings, "MaxConnectionsPer1_0Server", N_("Starting the process of deleting MaxConnectionsPer1_0Server")),
    delete_on_adapters(7, "MTU", N_("Starting the process of deleting correct MTU size")),
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

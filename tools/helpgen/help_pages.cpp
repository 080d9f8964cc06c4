#include "tools/helpgen/help_pages.h"

#include "tips/tip_engine.h"
#include "tools/helpgen/prose.h"

#include <string_view>
#include <vector>

namespace veltrano::helpgen {

namespace {

using tips::RestoreStep;
using tips::WriteRow;
using Action = RestoreStep::Action;

static_assert(kTipProse.size() == tips::kTipDisplay.size());

std::string escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// Roots are spelled out and followed by the key as the tables keep it, with
// or without its leading backslash.
std::string full_key(platform::Root root, std::string_view key) {
    std::string path = platform::root_name(root);
    if (!key.empty() && key.front() != '\\') path += '\\';
    return path + std::string(key);
}

std::string value_name(std::string_view value) { return value.empty() ? "(Default)" : std::string(value); }

std::string data_text(core::ValueType type, std::string_view str, std::int32_t num) {
    if (type == core::INT_TYPE) return std::to_string(num) + " (a DWORD)";
    return "\"" + std::string(str) + "\" (a string)";
}

std::string row(std::string_view key, std::string_view value, std::string_view what) {
    return "<tr><td>" + escape(key) + "</td><td>" + escape(value) + "</td><td>" + escape(what) + "</td></tr>\n";
}

std::string restore_text(const RestoreStep& s) {
    switch (s.action) {
    case Action::Write: return "sets it to " + data_text(s.type, s.str, s.num);
    case Action::DeleteValue: return "deletes the value";
    case Action::DeleteKey: return "deletes the key with everything below it";
    case Action::DeleteKeyIfEmpty: return "deletes the key when nothing else is left in it";
    case Action::RecreateKey: return "puts the key back with the values and subkeys it held when the tip removed it";
    case Action::DeleteOnAdapters: return "deletes the value in the interface key of every adapter but NdisWanIp";
    case Action::Special: return "writes back what the tip saved in its OLD_VALUES, where a saved text exists";
    }
    return {};
}

std::string tip_section(const tips::TipDisplay& t) {
    const TipProse& prose = kTipProse.at(static_cast<std::size_t>(t.tip - 1));
    const tips::GroupTables& tables = tips::group_tables(t.group);
    std::string html = "<h2>Tip " + std::to_string(t.tip) + ": " + escape(t.caption) + "</h2>\n";
    html += "<p>" + escape(prose.purpose) + " Good for: " + escape(prose.good_for) +
            " Risky for: " + escape(prose.risky_for) + "</p>\n";

    html += "<h3>What Apply changes</h3>\n";
    if (!prose.changes.empty()) html += "<p>" + escape(prose.changes) + "</p>\n";
    std::string writes;
    for (const WriteRow& w : tables.writes)
        if (w.tip == t.tip)
            writes += row(full_key(w.root, w.key), value_name(w.value), "set to " + data_text(w.type, w.str, w.num));
    if (!writes.empty())
        html += "<table border=\"1\" cellpadding=\"3\">\n<tr><th>Key</th><th>Value</th><th>Apply</th></tr>\n" +
                writes + "</table>\n";

    std::string restores;
    for (const RestoreStep& s : tables.restore) {
        if (s.tip != t.tip) continue;
        const bool whole_key = s.action == Action::DeleteKey || s.action == Action::DeleteKeyIfEmpty ||
                               s.action == Action::RecreateKey || s.action == Action::Special;
        const std::string key = s.action == Action::DeleteOnAdapters ? "each adapter's interface key"
                                : s.action == Action::Special        ? "the tip's saved values"
                                                                : full_key(s.root, s.key);
        restores += row(key, whole_key ? "" : value_name(s.value), restore_text(s));
    }
    html += "<h3>What Undo puts back</h3>\n<table border=\"1\" cellpadding=\"3\">\n"
            "<tr><th>Key</th><th>Value</th><th>Undo</th></tr>\n" + restores + "</table>\n";
    return html;
}

std::string page_html(const std::string& page, const std::string& body) {
    return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Veltrano help: " + page +
           "</title>\n</head>\n<body style=\"font-family: Tahoma, sans-serif; font-size: 10pt\">\n"
           "<h1>Veltrano tips</h1>\n<p>Each section below says what a tip changes in the registry, what the Undo "
           "page puts back, and what the tip is good and risky for. Back up the registry before you apply "
           "tips.</p>\n" + body + "</body>\n</html>\n";
}

}  // namespace

std::map<std::string, std::string> render_help_pages() {
    // Pages and their anchors in the order the tips first name them; tips
    // that share an anchor share its section.
    std::map<std::string, std::vector<std::string>> anchors;
    std::map<std::string, std::vector<const tips::TipDisplay*>> by_link;
    for (const tips::TipDisplay& t : tips::kTipDisplay) {
        const std::string link(t.help_link);
        auto& list = anchors[std::string(tips::help_page(t.help_link))];
        if (by_link[link].empty()) list.push_back(link);
        by_link[link].push_back(&t);
    }
    std::map<std::string, std::string> pages;
    for (const auto& [page, links] : anchors) {
        std::string body;
        for (const std::string& link : links) {
            body += "<hr>\n<a name=\"" + escape(tips::help_anchor(link)) + "\"></a>\n";
            for (const tips::TipDisplay* t : by_link[link]) body += tip_section(*t);
        }
        pages[page] = page_html(page, body);
    }
    return pages;
}

}  // namespace veltrano::helpgen

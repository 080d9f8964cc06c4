#include "tools/helpgen/help_pages.h"

#include "i18n/translate.h"
#include "tips/tip_engine.h"
#include "tools/helpgen/prose.h"

#include <string_view>
#include <vector>

namespace veltrano::helpgen {

namespace {

using tips::RestoreStep;
using tips::WriteRow;
using Action = RestoreStep::Action;
using i18n::tr;
using i18n::trf;

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

std::string value_name(std::string_view value) {
    // TRANSLATORS: the name Registry Editor shows for a key's unnamed value
    return value.empty() ? tr("(Default)") : std::string(value);
}

std::string data_text(core::ValueType type, std::string_view str, std::int32_t num) {
    if (type == core::INT_TYPE) return trf("{0} (a DWORD)", std::to_string(num));
    return trf("\"{0}\" (a string)", str);
}

std::string row(std::string_view key, std::string_view value, std::string_view what) {
    return "<tr><td>" + escape(key) + "</td><td>" + escape(value) + "</td><td>" + escape(what) + "</td></tr>\n";
}

std::string restore_text(const RestoreStep& s) {
    switch (s.action) {
    case Action::Write: return trf("sets it to {0}", data_text(s.type, s.str, s.num));
    case Action::DeleteValue: return tr("deletes the value");
    case Action::DeleteKey: return tr("deletes the key with everything below it");
    case Action::DeleteKeyIfEmpty: return tr("deletes the key when nothing else is left in it");
    case Action::RecreateKey: return tr("puts the key back with the values and subkeys it held when the tip removed it");
    case Action::DeleteOnAdapters: return tr("deletes the value in the interface key of every adapter but NdisWanIp");
    case Action::Special: return tr("writes back what the tip saved in its OLD_VALUES, where a saved text exists");
    }
    return {};
}

// The columns' header: the registry's key, its value and what the tip does to it.
std::string header_row(const std::string& what) {
    // TRANSLATORS: a column of the help's tables: the registry key a tip changes
    const std::string key = tr("Key");
    // TRANSLATORS: a column of the help's tables: the registry value a tip changes
    const std::string value = tr("Value");
    return "<tr><th>" + escape(key) + "</th><th>" + escape(value) + "</th><th>" + escape(what) + "</th></tr>\n";
}

std::string tip_section(const tips::TipDisplay& t) {
    const TipProse& prose = kTipProse.at(static_cast<std::size_t>(t.tip - 1));
    const tips::GroupTables& tables = tips::group_tables(t.group);
    // TRANSLATORS: a help section's heading: the tip's number, then its caption
    std::string html = "<h2>" + escape(trf("Tip {0}: {1}", std::to_string(t.tip), tr(t.caption))) + "</h2>\n";
    // TRANSLATORS: a tip's help: what it is for, what it helps with, and what it can cost
    const std::string summary = trf("{0} Good for: {1} Risky for: {2}", tr(prose.purpose), tr(prose.good_for),
                                    tr(prose.risky_for));
    html += "<p>" + escape(summary) + "</p>\n";

    html += "<h3>" + escape(tr("What Apply changes")) + "</h3>\n";
    if (!prose.changes.empty()) html += "<p>" + escape(tr(prose.changes)) + "</p>\n";
    std::string writes;
    for (const WriteRow& w : tables.writes)
        if (w.tip == t.tip)
            writes += row(full_key(w.root, w.key), value_name(w.value), trf("set to {0}", data_text(w.type, w.str, w.num)));
    if (!writes.empty())
        // TRANSLATORS: the third column of the help's table of what a tip's Apply writes
        html += "<table border=\"1\" cellpadding=\"3\">\n" + header_row(tr("Apply")) + writes + "</table>\n";

    std::string restores;
    for (const RestoreStep& s : tables.restore) {
        if (s.tip != t.tip) continue;
        const bool whole_key = s.action == Action::DeleteKey || s.action == Action::DeleteKeyIfEmpty ||
                               s.action == Action::RecreateKey || s.action == Action::Special;
        const std::string key = s.action == Action::DeleteOnAdapters ? tr("each adapter's interface key")
                                : s.action == Action::Special        ? tr("the tip's saved values")
                                                                : full_key(s.root, s.key);
        restores += row(key, whole_key ? "" : value_name(s.value), restore_text(s));
    }
    html += "<h3>" + escape(tr("What Undo puts back")) + "</h3>\n<table border=\"1\" cellpadding=\"3\">\n" +
            // TRANSLATORS: the third column of the help's table of what a tip's Undo puts back
            header_row(tr("Undo")) + restores + "</table>\n";
    return html;
}

// English pages name no language, as they always have; a translated page
// says which it is in, for the browser's fonts and a screen reader's voice.
std::string page_html(const i18n::Language& language, const std::string& page, const std::string& body) {
    const std::string html = language.code == i18n::english().code
                                 ? std::string("<html>")
                                 : "<html lang=\"" + std::string(language.code) + "\">";
    return "<!DOCTYPE html>\n" + html + "\n<head>\n<meta charset=\"utf-8\">\n<title>" +
           escape(trf("Veltrano help: {0}", page)) +
           "</title>\n</head>\n<body style=\"font-family: Tahoma, sans-serif; font-size: 10pt\">\n<h1>" +
           escape(tr("Veltrano tips")) + "</h1>\n<p>" +
           escape(tr("Each section below says what a tip changes in the registry, what the Undo page puts back, "
                     "and what the tip is good and risky for. Back up the registry before you apply tips.")) +
           "</p>\n" + body + "</body>\n</html>\n";
}

}  // namespace

std::map<std::string, std::string> render_help_pages(const i18n::Language& language) {
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
        pages[page] = page_html(language, page, body);
    }
    return pages;
}

}  // namespace veltrano::helpgen

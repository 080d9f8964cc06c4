// helpgen OUTPUT_FOLDER [CATALOGUE_FOLDER]: writes the tip help pages into
// the folder, which the build puts beside veltrano.exe as "help": English
// there, each other language into a folder of its own named by its code
// ("help/de", "help/zh-CN"), from the compiled catalogue the build made of
// its translation (CATALOGUE_FOLDER/<gettext name>.mo: de.mo, zh_CN.mo).
#include "i18n/translate.h"
#include "tools/helpgen/help_pages.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace veltrano;

// gettext names a language's file with an underscore: "zh-CN" is zh_CN.mo.
std::filesystem::path catalogue_file(const std::filesystem::path& folder, const i18n::Language& language) {
    std::string name(language.code);
    for (char& c : name)
        if (c == '-') c = '_';
    return folder / (name + ".mo");
}

i18n::Catalogue read_catalogue(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return i18n::Catalogue::from_mo(bytes);
}

bool write_pages(const std::filesystem::path& folder, const i18n::Language& language) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const auto& [name, html] : helpgen::render_help_pages(language)) {
        std::ofstream out(folder / name, std::ios::binary);
        out << html;
        if (!out) {
            std::fprintf(stderr, "helpgen: cannot write %s\n", (folder / name).string().c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: helpgen OUTPUT_FOLDER [CATALOGUE_FOLDER]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    if (!write_pages(folder, i18n::english())) return 1;
    if (argc == 2) return 0;
    const std::filesystem::path catalogues = argv[2];
    for (const i18n::Language& language : i18n::languages()) {
        if (language.code == i18n::english().code) continue;
        try {
            i18n::use_language(language, read_catalogue(catalogue_file(catalogues, language)));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "helpgen: the %s catalogue: %s\n", std::string(language.code).c_str(), e.what());
            return 1;
        }
        if (!write_pages(folder / std::string(language.code), language)) return 1;
    }
    i18n::use_language(i18n::english(), {});
    return 0;
}

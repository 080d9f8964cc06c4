// helpgen OUTPUT_FOLDER: writes the tip help pages into the folder, which
// the build puts beside veltrano.exe as "help".
#include "tools/helpgen/help_pages.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: helpgen OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const auto& [name, html] : veltrano::helpgen::render_help_pages()) {
        std::ofstream out(folder / name, std::ios::binary);
        out << html;
        if (!out) {
            std::fprintf(stderr, "helpgen: cannot write %s\n", (folder / name).string().c_str());
            return 1;
        }
    }
    return 0;
}

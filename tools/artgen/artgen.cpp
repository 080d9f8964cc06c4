// Build-time generator of the program's pictures and sounds. We keep no
// binary artwork in the repository: the resource compiler reads what this
// writes into the build tree.
#include <cstdio>
#include <string>

#include "assets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTPUT_FOLDER\n");
        return 2;
    }
    std::string error;
    if (!veltrano::artgen::write_assets(argv[1], error)) {
        std::fprintf(stderr, "artgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

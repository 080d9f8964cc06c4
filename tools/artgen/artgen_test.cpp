// Reads back what artgen writes, with readers of our own rather than the
// writers' code, the way LoadImage, the icon loader and PlaySound will.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le16(const Bytes& b, std::size_t at) {
    return at + 2 <= b.size() ? b[at] | (b[at + 1] << 8) : 0xFFFFFFFF;
}
std::uint32_t le32(const Bytes& b, std::size_t at) {
    return at + 4 <= b.size() ? le16(b, at) | (le16(b, at + 2) << 16) : 0xFFFFFFFF;
}
std::int32_t signed32(const Bytes& b, std::size_t at) { return static_cast<std::int32_t>(le32(b, at)); }
std::string tag(const Bytes& b, std::size_t at) {
    return at + 4 <= b.size() ? std::string(b.begin() + at, b.begin() + at + 4) : std::string();
}

// Runs the real tool once into a scratch folder; every test reads that.
class GeneratedFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("artgen_test_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        exit_code_ = std::system((std::string("\"") + VELTRANO_ARTGEN + "\" \"" + folder_.string() + "\"").c_str());
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }
    void SetUp() override { ASSERT_EQ(exit_code_, 0) << "artgen failed"; }

    static Bytes load(const std::string& file_name) {
        Bytes b = read_file(folder_ / file_name);
        EXPECT_FALSE(b.empty()) << file_name << " missing or empty";
        return b;
    }

    static inline fs::path folder_;
    static inline int exit_code_ = -1;
};

// ---- The resource script and the generated folder agree ----

TEST_F(GeneratedFiles, EveryFileTheScriptNamesIsWrittenAndNothingElse) {
    std::ifstream rc(VELTRANO_RESOURCE_SCRIPT);
    ASSERT_TRUE(rc) << VELTRANO_RESOURCE_SCRIPT;
    std::string script((std::istreambuf_iterator<char>(rc)), std::istreambuf_iterator<char>());

    const std::regex file_ref(R"re("([A-Za-z0-9_]+\.(bmp|ico|wav))")re");
    std::set<std::string> referenced;
    for (auto it = std::sregex_iterator(script.begin(), script.end(), file_ref); it != std::sregex_iterator(); ++it)
        referenced.insert((*it)[1]);

    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(folder_)) written.insert(entry.path().filename().string());
    EXPECT_EQ(referenced, written);
}

TEST_F(GeneratedFiles, BitmapAndSoundResourcesAreNamedAfterTheirFiles) {
    // The program loads pictures by component name; a row whose name and file
    // disagree would show the wrong icon without any error.
    std::ifstream rc(VELTRANO_RESOURCE_SCRIPT);
    std::string line;
    const std::regex row(R"re(^\s*(\w+)\s+(BITMAP|WAVE)\s+"(\w+)\.(bmp|wav)")re");
    int rows = 0;
    while (std::getline(rc, line)) {
        std::smatch m;
        if (!std::regex_search(line, m, row)) continue;
        ++rows;
        EXPECT_EQ(m[1], m[3]) << line;
    }
    EXPECT_EQ(rows, 17 + 17 + 2);
}

TEST(ArtgenCommandLine, FailsWhenTheFolderCannotBeMade) {
    const fs::path blocker = fs::temp_directory_path() / ("artgen_blocker_" + std::to_string(::getpid()));
    std::ofstream(blocker) << "a file where the folder should go";
    const std::string command =
        std::string("\"") + VELTRANO_ARTGEN + "\" \"" + (blocker / "res").string() + "\" 2>/dev/null";
    const int code = std::system(command.c_str());
    fs::remove(blocker);
    EXPECT_NE(code, 0);
}

// ---- Bitmaps: the header LoadImage trusts, and what is drawn ----

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // top-down
    const std::uint8_t* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

struct BitmapRow {
    const char* name;
    int width;
    int height;
};

void PrintTo(const BitmapRow& row, std::ostream* os) { *os << row.name; }

class Bitmaps : public GeneratedFiles, public ::testing::WithParamInterface<BitmapRow> {
protected:
    // Checks the headers and returns the pixels; a malformed file fails the test.
    static Bitmap decode(const std::string& name) {
        Bitmap out;
        const Bytes b = load(name + ".bmp");
        EXPECT_EQ(tag(b, 0).substr(0, 2), "BM");
        EXPECT_EQ(le32(b, 2), b.size()) << "file size field";
        const std::uint32_t offset = le32(b, 10);
        EXPECT_EQ(le32(b, 14), 40u) << "BITMAPINFOHEADER";
        const std::int32_t width = signed32(b, 18), height = signed32(b, 22);
        EXPECT_GT(height, 0) << "bottom-up";
        EXPECT_EQ(le16(b, 26), 1u) << "planes";
        const std::uint32_t bits = le16(b, 28);
        EXPECT_TRUE(bits == 24 || bits == 32) << bits;
        EXPECT_EQ(le32(b, 30), 0u) << "BI_RGB";
        if (width <= 0 || height <= 0 || (bits != 24 && bits != 32)) return out;
        const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
        EXPECT_EQ(b.size(), offset + stride * height) << "pixel data length";
        const std::uint32_t image_length = le32(b, 34);
        EXPECT_TRUE(image_length == 0 || image_length == stride * height);
        if (b.size() < offset + stride * height) return out;

        out.width = width;
        out.height = height;
        out.rgb.resize(static_cast<std::size_t>(width) * height * 3);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* row = &b[offset + stride * (height - 1 - y)];
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = row + x * bits / 8;
                std::uint8_t* q = &out.rgb[(static_cast<std::size_t>(y) * width + x) * 3];
                q[0] = p[2], q[1] = p[1], q[2] = p[0];
            }
        }
        return out;
    }
};

TEST_P(Bitmaps, HeaderMatchesTheSizeTheWindowLaysOut) {
    const Bitmap bmp = decode(GetParam().name);
    EXPECT_EQ(bmp.width, GetParam().width);
    EXPECT_EQ(bmp.height, GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(
    AllPictures, Bitmaps,
    ::testing::Values(BitmapRow{"Image_welcome_screen", 48, 48}, BitmapRow{"Image_network_options", 48, 48},
                      BitmapRow{"Image_power_options", 48, 48}, BitmapRow{"Image_system_options", 48, 48},
                      BitmapRow{"Image_customization_options", 48, 48}, BitmapRow{"Image_undo_options", 48, 48},
                      BitmapRow{"Image_regclean_option", 48, 48}, BitmapRow{"Image_process_monitor", 48, 48},
                      BitmapRow{"Image_admin_options", 48, 48}, BitmapRow{"Image_exit_options", 48, 48},
                      BitmapRow{"Image_frame_top", 614, 4}, BitmapRow{"Image_frame_bottom", 614, 4},
                      BitmapRow{"Image_frame_left", 4, 584}, BitmapRow{"Image_frame_right", 4, 584},
                      BitmapRow{"Image5", 601, 8}, BitmapRow{"Image3", 105, 65}, BitmapRow{"Help", 16, 16}),
    [](const auto& info) { return std::string(info.param.name); });

const char* const kNavigationIcons[] = {
    "Image_welcome_screen",  "Image_network_options", "Image_power_options",   "Image_system_options",
    "Image_customization_options", "Image_undo_options", "Image_regclean_option", "Image_process_monitor",
    "Image_admin_options",   "Image_exit_options",
};

// The console launchers: no caption beside them, so the picture alone must
// tell the user which console it opens.
const char* const kLauncherPictures[] = {
    "Image26", "Image27", "Image28", "Image29", "Image30", "Image31", "Image32", "Image33", "Image34",
    "Image35", "Image36", "Image37", "Image38", "Image39", "Image40", "Image41", "Image42",
};

std::vector<const char*> icons_on_white() {
    std::vector<const char*> names(std::begin(kNavigationIcons), std::end(kNavigationIcons));
    names.insert(names.end(), std::begin(kLauncherPictures), std::end(kLauncherPictures));
    return names;
}

bool is_white(const std::uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }
int brightness(const std::uint8_t* p) { return p[0] + p[1] + p[2]; }

TEST_F(Bitmaps, IconsSitOnWhiteWithAntialiasedEdges) {
    for (const char* name : icons_on_white()) {
        SCOPED_TRACE(name);
        const Bitmap bmp = decode(name);
        ASSERT_EQ(bmp.width, 48);
        // The bar is white; a coloured corner would show as a box around the icon.
        for (auto [x, y] : {std::pair{0, 0}, {47, 0}, {0, 47}, {47, 47}}) EXPECT_TRUE(is_white(bmp.at(x, y)));

        // Along the outline an anti-aliased shape fades into the white: an
        // edge pixel is lighter than the drawn pixel next to it. Hard edges
        // put the full rim colour straight against the white.
        int ink = 0, edge = 0, blended = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                const std::uint8_t* p = bmp.at(x, y);
                if (is_white(p)) continue;
                ++ink;
                bool touches_white = false, lighter_than_inside = false;
                for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx > 47 || ny > 47) continue;
                    const std::uint8_t* q = bmp.at(nx, ny);
                    if (is_white(q)) touches_white = true;
                    else if (brightness(p) >= brightness(q) + 40) lighter_than_inside = true;
                }
                edge += touches_white;
                blended += touches_white && lighter_than_inside;
            }
        }
        EXPECT_GT(ink, 48 * 48 / 6) << "too little drawn to be seen";
        EXPECT_LT(ink, 48 * 48 * 9 / 10) << "icon fills its whole square";
        EXPECT_GT(blended * 4, edge) << "edges look aliased: " << blended << " of " << edge << " blended";
    }
}

TEST_F(Bitmaps, IconsAreAllDifferent) {
    const std::vector<const char*> names = icons_on_white();
    std::vector<Bitmap> icons;
    for (const char* name : names) icons.push_back(decode(name));
    for (std::size_t i = 0; i < icons.size(); ++i) {
        for (std::size_t j = i + 1; j < icons.size(); ++j) {
            int differing = 0;
            for (std::size_t k = 0; k + 2 < icons[i].rgb.size(); k += 3)
                differing += !std::equal(&icons[i].rgb[k], &icons[i].rgb[k] + 3, &icons[j].rgb[k]);
            EXPECT_GT(differing, 48 * 48 / 10) << names[i] << " looks like " << names[j];
        }
    }
}

TEST_F(Bitmaps, FrameStripsStretchAlongTheEdgeAndDarkenOutwards) {
    // The window stretches a strip along its edge; that is only invisible if
    // every line across the strip is the same.
    struct Strip {
        const char* name;
        bool horizontal;
        bool outer_first;  // the window's edge is at the strip's first row or column
    };
    for (Strip s : {Strip{"Image_frame_top", true, true}, Strip{"Image_frame_bottom", true, false},
                    Strip{"Image_frame_left", false, true}, Strip{"Image_frame_right", false, false}}) {
        SCOPED_TRACE(s.name);
        const Bitmap bmp = decode(s.name);
        ASSERT_GT(bmp.width, 0);
        const int length = s.horizontal ? bmp.width : bmp.height;
        const int thickness = s.horizontal ? bmp.height : bmp.width;
        auto px = [&](int along, int across) { return s.horizontal ? bmp.at(along, across) : bmp.at(across, along); };
        for (int along = 1; along < length; ++along)
            for (int across = 0; across < thickness; ++across)
                ASSERT_TRUE(std::equal(px(along, across), px(along, across) + 3, px(0, across))) << along;
        const int outer = s.outer_first ? 0 : thickness - 1;
        const int inner = s.outer_first ? thickness - 1 : 0;
        EXPECT_LT(brightness(px(0, outer)), brightness(px(0, inner)));
    }
}

// ---- The icon file: directory and images agree ----

TEST_F(GeneratedFiles, IconDirectoryDescribesItsImages) {
    const Bytes b = load("veltrano.ico");
    ASSERT_GE(b.size(), 6u);
    EXPECT_EQ(le16(b, 0), 0u);
    EXPECT_EQ(le16(b, 2), 1u) << "type 1 is an icon";
    const std::uint32_t count = le16(b, 4);
    ASSERT_EQ(count, 3u);

    std::set<int> sizes;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> extents;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int size = b[entry];
        SCOPED_TRACE("entry of size " + std::to_string(size));
        sizes.insert(size);
        EXPECT_EQ(b[entry + 1], size) << "square";
        EXPECT_EQ(le16(b, entry + 4), 1u) << "planes";
        EXPECT_EQ(le16(b, entry + 6), 32u) << "bits";
        const std::uint32_t length = le32(b, entry + 8), offset = le32(b, entry + 12);
        ASSERT_LE(std::uint64_t{offset} + length, b.size());
        extents.emplace_back(offset, length);

        // The image itself: a DIB twice as tall (colour over mask), 32 bits.
        EXPECT_EQ(le32(b, offset), 40u);
        EXPECT_EQ(signed32(b, offset + 4), size);
        EXPECT_EQ(signed32(b, offset + 8), 2 * size);
        EXPECT_EQ(le16(b, offset + 14), 32u);
        const std::uint32_t colour = size * size * 4;
        const std::uint32_t mask_stride = ((size + 31) / 32) * 4;
        ASSERT_EQ(length, 40 + colour + mask_stride * size);

        // Where the colour is fully transparent the mask must let the screen
        // through, and nowhere else, or old shells draw black corners.
        const std::size_t pixels = offset + 40, mask = pixels + colour;
        int transparent = 0, mismatched = 0;
        for (int row = 0; row < size; ++row) {
            for (int x = 0; x < size; ++x) {
                const bool clear = b[pixels + (row * size + x) * 4 + 3] == 0;
                const bool masked = b[mask + row * mask_stride + x / 8] & (0x80 >> (x % 8));
                transparent += clear;
                mismatched += clear != masked;
            }
        }
        EXPECT_EQ(mismatched, 0);
        EXPECT_GT(transparent, 0) << "the emblem is round, its corners must be clear";
        const std::size_t centre = pixels + ((size / 2) * size + size / 2) * 4;
        EXPECT_EQ(b[centre + 3], 255) << "the middle of the emblem is solid";
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));

    std::sort(extents.begin(), extents.end());
    EXPECT_GE(extents.front().first, 6 + 16 * count) << "image overlaps the directory";
    for (std::size_t i = 1; i < extents.size(); ++i)
        EXPECT_GE(extents[i].first, extents[i - 1].first + extents[i - 1].second) << "images overlap";
}

// ---- Sounds: what PlaySound accepts, and what a listener would notice ----

struct Wave {
    std::uint32_t rate = 0;
    std::vector<std::int16_t> samples;
};

class Sounds : public GeneratedFiles, public ::testing::WithParamInterface<const char*> {
protected:
    static Wave decode(const std::string& name) {
        Wave out;
        const Bytes b = load(name + ".wav");
        EXPECT_EQ(tag(b, 0), "RIFF");
        EXPECT_EQ(le32(b, 4), b.size() - 8) << "RIFF length";
        EXPECT_EQ(tag(b, 8), "WAVE");
        // Walk the chunks rather than assume a 44-byte header.
        std::size_t at = 12;
        bool seen_format = false;
        while (at + 8 <= b.size()) {
            const std::string id = tag(b, at);
            const std::uint32_t length = le32(b, at + 4);
            const std::size_t body = at + 8;
            if (body + length > b.size()) {
                ADD_FAILURE() << "chunk " << id << " runs past the end";
                return out;
            }
            if (id == "fmt ") {
                seen_format = true;
                EXPECT_EQ(le16(b, body), 1u) << "PCM";
                EXPECT_EQ(le16(b, body + 2), 1u) << "mono";
                out.rate = le32(b, body + 4);
                EXPECT_EQ(out.rate, 22050u);
                EXPECT_EQ(le32(b, body + 8), out.rate * 2) << "byte rate";
                EXPECT_EQ(le16(b, body + 12), 2u) << "block align";
                EXPECT_EQ(le16(b, body + 14), 16u);
            } else if (id == "data") {
                EXPECT_TRUE(seen_format) << "data before fmt";
                EXPECT_EQ(length % 2, 0u);
                EXPECT_EQ(body + length, b.size()) << "bytes after the samples";
                for (std::size_t i = 0; i + 1 < length; i += 2)
                    out.samples.push_back(static_cast<std::int16_t>(le16(b, body + i)));
            }
            at = body + length + (length & 1);
        }
        return out;
    }
};

TEST_P(Sounds, IsAShortCleanChime) {
    const Wave w = decode(GetParam());
    ASSERT_GT(w.rate, 0u);
    ASSERT_FALSE(w.samples.empty());
    const double seconds = double(w.samples.size()) / w.rate;
    EXPECT_GE(seconds, 0.3);
    EXPECT_LE(seconds, 0.6);

    int peak = 0;
    double energy = 0;
    for (std::int16_t s : w.samples) {
        peak = std::max(peak, std::abs(int{s}));
        energy += double(s) * s;
    }
    const double rms = std::sqrt(energy / w.samples.size());
    EXPECT_LT(peak, 32767 * 0.95) << "clipped or at the edge of it";
    EXPECT_GT(peak, 32767 * 0.3) << "too quiet to hear over a fan";
    EXPECT_GT(rms, 1000) << "almost silent";
    // Starting or stopping away from zero is heard as a click.
    EXPECT_LT(std::abs(int{w.samples.front()}), 300);
    EXPECT_LT(std::abs(int{w.samples.back()}), 300);
}

INSTANTIATE_TEST_SUITE_P(BothChimes, Sounds, ::testing::Values("START", "DONE"));

// Pitch from zero crossings; the chimes are near-sinusoidal, so this is close.
double pitch(const Wave& w, double from_s, double to_s) {
    const std::size_t a = static_cast<std::size_t>(from_s * w.rate), z = static_cast<std::size_t>(to_s * w.rate);
    int crossings = 0;
    for (std::size_t i = a + 1; i < z && i < w.samples.size(); ++i)
        crossings += (w.samples[i - 1] < 0) != (w.samples[i] < 0);
    return crossings / 2.0 / (to_s - from_s);
}

TEST_F(Sounds, StartRisesAndDoneIsBright) {
    const Wave start = decode("START");
    ASSERT_GT(start.rate, 0u);
    const double first = pitch(start, 0.02, 0.12), second = pitch(start, 0.22, 0.32);
    EXPECT_GT(second, first * 1.3) << first << " Hz then " << second << " Hz";

    const Wave done = decode("DONE");
    ASSERT_GT(done.rate, 0u);
    EXPECT_GT(pitch(done, 0.02, 0.12), 900.0);
}

}  // namespace

#include "artwork.h"

#include <cmath>

namespace veltrano::artgen {

namespace {

// The program's palette: blue for the frame and the emblem, green for "done"
// and for progress, a dark slate for rims so shapes hold on white.
const Colour kBlue = rgb(0x2A78D6);
const Colour kBlueLight = rgb(0x7DB8F2);
const Colour kBlueDark = rgb(0x17498F);
const Colour kGreen = rgb(0x33AD52);
const Colour kGreenLight = rgb(0x8EE09E);
const Colour kGreenDark = rgb(0x1D7335);
const Colour kSlate = rgb(0x2A3B52);
const Colour kWhite = rgb(0xFFFFFF);
const Colour kGold = rgb(0xF2B632);
const Colour kGoldLight = rgb(0xFFE08A);
const Colour kGoldDark = rgb(0x9C6A12);

// Icons are drawn on a 48-unit grid and scaled to the canvas.
constexpr float kGrid = 48;
constexpr float kRim = 1.4f;

void use_grid(Canvas& c) { c.set_view({0, 0}, c.width() / kGrid); }

Paint top_down(Colour top, Colour bottom, float y0 = 4, float y1 = 44) {
    return linear({0, y0}, top, {0, y1}, bottom);
}

void draw_house(Canvas& c) {
    use_grid(c);
    c.fill_outlined(box({34, 13}, {3, 6}, 0.8f), top_down(kBlueLight, kBlue), kBlueDark, kRim);
    c.fill_outlined(box({24, 32}, {13, 11}, 1.5f), top_down(kGreenLight, kGreen, 22, 43), kGreenDark, kRim);
    c.fill_outlined(box({24, 36}, {4.5f, 7}, 1.0f), top_down(kGoldLight, kGold, 29, 43), kGoldDark, 1.2f);
    Shape roof = polygon({{3, 24}, {24, 5}, {45, 24}, {40, 26}, {24, 12}, {8, 26}});
    c.fill_outlined(grow(roof, 0.6f), top_down(kBlueLight, kBlue, 5, 26), kBlueDark, kRim);
}

void draw_globe(Canvas& c) {
    use_grid(c);
    const Vec2 centre{24, 24};
    c.fill_outlined(circle(centre, 21), radial({18, 16}, 28, kBlueLight, kBlue), kBlueDark, kRim);
    Shape inside = circle(centre, 19.6f);
    Colour grid = rgb(0xFFFFFF, 0.85f);
    const float w = 0.9f;
    c.fill(intersect(unite({ellipse_outline(centre, 9, 21, w), capsule({24, 3}, {24, 45}, w),
                            capsule({3, 24}, {45, 24}, w), capsule({3, 14}, {45, 14}, w),
                            capsule({3, 34}, {45, 34}, w)}),
                     inside),
           grid);
}

void draw_power(Canvas& c) {
    use_grid(c);
    c.fill_outlined(circle({24, 24}, 20), radial({19, 16}, 28, kGreenLight, kGreen), kGreenDark, kRim);
    c.fill(unite({arc({24, 25.5f}, 10.5f, 2.6f, -55, 290), capsule({24, 10.5f}, {24, 24}, 2.6f)}), kWhite);
}

void draw_chip(Canvas& c) {
    use_grid(c);
    std::vector<Shape> pins;
    for (float p : {15.0f, 21.0f, 27.0f, 33.0f}) {
        pins.push_back(box({p, 7}, {1.6f, 4}, 0.6f));
        pins.push_back(box({p, 41}, {1.6f, 4}, 0.6f));
        pins.push_back(box({7, p}, {4, 1.6f}, 0.6f));
        pins.push_back(box({41, p}, {4, 1.6f}, 0.6f));
    }
    c.fill_outlined(unite(pins), solid(rgb(0xB8C3CF)), rgb(0x6D7B8B), 1.0f);
    c.fill_outlined(box({24, 24}, {14.5f, 14.5f}, 2.5f), top_down(rgb(0x35598A), rgb(0x1C3152), 10, 38), kSlate,
                    kRim);
    c.fill_outlined(box({24, 24}, {7.5f, 7.5f}, 1.5f), top_down(kGreenLight, kGreen, 17, 31), kGreenDark, 1.2f);
    c.fill(circle({14.5f, 14.5f}, 1.6f), rgb(0xB8C3CF));
}

void draw_palette(Canvas& c) {
    use_grid(c);
    Shape board = subtract(circle({24, 25}, 20), unite({circle({30.5f, 35.5f}, 4.2f), circle({44, 36}, 7.5f)}));
    c.fill_outlined(board, top_down(rgb(0xFBEFD6), rgb(0xE9CC95), 6, 44), rgb(0x8F5F25), kRim);
    struct Dab {
        Vec2 at;
        std::uint32_t colour;
    };
    for (Dab d : {Dab{{13.5f, 21}, 0xE0483E}, Dab{{21, 12.5f}, 0xF2C230}, Dab{{31.5f, 13}, 0x33AD52},
                  Dab{{36.5f, 23}, 0x2A78D6}, Dab{{14, 32}, 0x8E4FC7}}) {
        Colour paint = rgb(d.colour);
        c.fill_outlined(circle(d.at, 4), radial({d.at.x - 1.5f, d.at.y - 1.5f}, 6, mix(paint, kWhite, 0.35f), paint),
                        mix(paint, kSlate, 0.45f), 0.9f);
    }
}

void draw_undo(Canvas& c) {
    use_grid(c);
    const float w = 3.4f;
    Shape arrow = unite({capsule({16, 16}, {26, 16}, w), arc({26, 27}, 11, w, -90, 180), capsule({26, 38}, {14, 38}, w),
                         polygon({{3, 16}, {18, 4.5f}, {18, 27.5f}})});
    c.fill_outlined(arrow, top_down(kBlueLight, kBlue, 4, 42), kBlueDark, kRim);
}

Shape sparkle(Vec2 at, float size) {
    float t = size * 0.28f;
    return unite({polygon({{at.x, at.y - size}, {at.x + t, at.y}, {at.x, at.y + size}, {at.x - t, at.y}}),
                  polygon({{at.x - size, at.y}, {at.x, at.y - t}, {at.x + size, at.y}, {at.x, at.y + t}})});
}

void draw_broom(Canvas& c) {
    use_grid(c);
    // Drawn upright, then leant over as if sweeping.
    const Vec2 pivot{24, 26};
    const float lean = 32;
    c.fill_outlined(rotated(capsule({24, 2.5f}, {24, 27}, 2.2f), pivot, lean),
                    linear({21, 0}, rgb(0xC98A4B), {27, 0}, rgb(0x8A5424)), rgb(0x5E3814), 1.0f);
    Shape bristles = polygon({{18.5f, 29}, {29.5f, 29}, {36, 46}, {12, 46}});
    c.fill_outlined(rotated(bristles, pivot, lean), top_down(kGoldLight, kGold, 29, 46), kGoldDark, 1.2f);
    for (float x : {19.0f, 24.0f, 29.0f})
        c.fill(rotated(capsule({24 + (x - 24) * 0.3f, 32}, {x, 43.5f}, 0.55f), pivot, lean), kGoldDark);
    c.fill_outlined(rotated(box({24, 28.5f}, {6.5f, 2.6f}, 1), pivot, lean), top_down(kBlueLight, kBlue, 26, 31),
                    kBlueDark, 1.0f);
    c.fill(sparkle({9, 11}, 5.5f), kGreen);
    c.fill(sparkle({40, 36}, 4.5f), kGreen);
    c.fill(sparkle({17, 4.5f}, 3), kGreenLight);
}

void draw_monitor(Canvas& c) {
    use_grid(c);
    c.fill_outlined(box({24, 41.5f}, {10, 2}, 1.5f), top_down(rgb(0xB8C3CF), rgb(0x7D8B9B), 39, 44), kSlate, 1.0f);
    c.fill(box({24, 36}, {3, 4}), rgb(0x7D8B9B));
    c.fill_outlined(box({24, 20}, {21, 15}, 2.5f), top_down(rgb(0x4A5F7A), rgb(0x25344A), 5, 35), kSlate, kRim);
    Shape screen = box({24, 19.5f}, {17.5f, 11.5f}, 1);
    c.fill(screen, top_down(rgb(0x0E2A45), rgb(0x16456E), 8, 31));
    Colour trace = rgb(0x57F07A);
    c.fill(intersect(polyline({{6, 21}, {14, 21}, {17, 16}, {21, 28}, {26, 11}, {30, 24}, {32.5f, 21}, {42, 21}}, 1.5f),
                     screen),
           trace);
    c.fill(intersect(polyline({{6, 21}, {14, 21}, {17, 16}, {21, 28}, {26, 11}, {30, 24}, {32.5f, 21}, {42, 21}}, 3),
                     screen),
           rgb(0x57F07A, 0.25f));
}

void draw_key(Canvas& c) {
    use_grid(c);
    const Vec2 pivot{24, 24};
    const float turn = 40;
    Shape key = subtract(unite({circle({12, 24}, 9), box({30, 24}, {13, 2.8f}, 1), box({37.5f, 29}, {2, 4}, 0.5f),
                                box({31.5f, 28.5f}, {2, 3.5f}, 0.5f)}),
                         circle({9.5f, 24}, 3.2f));
    c.fill_outlined(rotated(key, pivot, turn), linear({8, 8}, kGoldLight, {40, 40}, kGold), kGoldDark, kRim);
}

void draw_exit(Canvas& c) {
    use_grid(c);
    c.fill_outlined(box({18, 24}, {12, 20}, 1), solid(rgb(0x233246)), rgb(0x7D8B9B), 2.2f);
    Shape leaf = polygon({{6, 4}, {19, 9}, {19, 47}, {6, 44}});
    c.fill_outlined(leaf, linear({6, 0}, kBlueLight, {19, 0}, kBlue), kBlueDark, kRim);
    c.fill(circle({16, 27}, 1.4f), kGold);
    Shape arrow = unite({capsule({22, 24}, {34, 24}, 3.4f), polygon({{32, 13.5f}, {46, 24}, {32, 34.5f}})});
    c.fill_outlined(arrow, top_down(kGreenLight, kGreen, 13, 35), kGreenDark, kRim);
}

// The emblem on the 48-unit grid: a gauge whose needle has been turned up,
// which is what the program does to a machine. Small sizes get thicker
// strokes so the dial still reads at 16 px.
void draw_emblem(Canvas& c, float stroke_boost) {
    const Vec2 centre{24, 24};
    const Vec2 hub{24, 26};
    c.fill_outlined(circle(centre, 23), radial({17, 14}, 34, rgb(0x5FA6F0), rgb(0x1A56A8)), rgb(0x113E7C), 1.3f);
    const float track = 3.3f * stroke_boost;
    c.fill(arc(hub, 14.5f, track, 135, 270), rgb(0xFFFFFF, 0.28f));
    c.fill(arc(hub, 14.5f, track, 135, 175), linear({8, 36}, rgb(0x9CF0A8), {36, 8}, rgb(0x3CC45E)));
    Vec2 tip = point_on_circle(hub, 13.5f, -48);
    c.fill(capsule(hub, tip, 1.9f * stroke_boost), kWhite);
    // At 16 px a pinned hub would swallow the needle; a plain white dot reads better.
    const bool tiny = stroke_boost > 1.3f;
    c.fill(circle(hub, tiny ? 3.2f : 3.8f * stroke_boost), kWhite);
    if (!tiny) c.fill(circle(hub, 1.6f * stroke_boost), rgb(0x1A56A8));
}

// Lettering for the logo: single-line strokes on an em square, baseline at
// y = 1 and x-height at 0.45. Only the letters of the name are needed.
struct Stroke {
    bool is_arc;
    Vec2 a, b;  // a line, or for an arc: a = centre, b = {radius, unused}
    float start = 0, sweep = 0;
};

struct Glyph {
    char letter;
    float advance;
    std::vector<Stroke> strokes;
};

Stroke line(Vec2 a, Vec2 b) { return {false, a, b}; }
Stroke curve(Vec2 centre, float radius, float start, float sweep) {
    return {true, centre, {radius, 0}, start, sweep};
}

const std::vector<Glyph>& glyphs() {
    static const std::vector<Glyph> table = {
        {'V', 0.66f, {line({0, 0}, {0.33f, 1}), line({0.33f, 1}, {0.66f, 0})}},
        {'e', 0.52f, {line({0.02f, 0.72f}, {0.51f, 0.72f}), curve({0.26f, 0.725f}, 0.25f, 40, 320)}},
        {'l', 0.12f, {line({0.06f, 0}, {0.06f, 1})}},
        {'t', 0.36f, {line({0.14f, 0.12f}, {0.14f, 0.88f}), curve({0.27f, 0.88f}, 0.13f, 90, 90),
                      line({0, 0.45f}, {0.34f, 0.45f})}},
        {'r', 0.38f, {line({0.04f, 0.45f}, {0.04f, 1}), curve({0.3f, 0.74f}, 0.26f, 195, 95)}},
        {'a', 0.52f, {curve({0.25f, 0.725f}, 0.25f, 0, 360), line({0.5f, 0.46f}, {0.5f, 1})}},
        {'n', 0.5f, {line({0.04f, 0.45f}, {0.04f, 1}), curve({0.25f, 0.68f}, 0.21f, 180, 180),
                     line({0.46f, 0.68f}, {0.46f, 1})}},
        {'o', 0.5f, {curve({0.25f, 0.725f}, 0.25f, 0, 360)}},
    };
    return table;
}

constexpr float kLetterGap = 0.13f;

float text_width(const std::string& text, float em) {
    float w = 0;
    for (char ch : text)
        for (const Glyph& g : glyphs())
            if (g.letter == ch) w += (g.advance + kLetterGap) * em;
    return w - kLetterGap * em;
}

// The strokes of a word set at `baseline_left` (pixels), one em = `em` pixels.
Shape lettering(const std::string& text, Vec2 baseline_left, float em, float half_width) {
    std::vector<Shape> parts;
    float x = baseline_left.x;
    const float top = baseline_left.y - em;
    auto at = [&](Vec2 p) { return Vec2{x + p.x * em, top + p.y * em}; };
    for (char ch : text) {
        for (const Glyph& g : glyphs()) {
            if (g.letter != ch) continue;
            for (const Stroke& s : g.strokes) {
                if (s.is_arc)
                    parts.push_back(arc(at(s.a), s.b.x * em, half_width, s.start, s.sweep));
                else
                    parts.push_back(capsule(at(s.a), at(s.b), half_width));
            }
            x += (g.advance + kLetterGap) * em;
        }
    }
    return unite(std::move(parts));
}

void draw_logo(Canvas& c) {
    const float emblem_px = 40;
    c.set_view({(c.width() - emblem_px) / 2, 0.5f}, emblem_px / kGrid);
    draw_emblem(c, 1.0f);
    c.set_view({0, 0}, 1);
    const float em = 19;
    const float left = (c.width() - text_width("Veltrano", em)) / 2;
    c.fill(lettering("Veltrano", {left, 62}, em, 1.25f), linear({0, 43}, rgb(0x2160B0), {0, 63}, rgb(0x123A70)));
}

void draw_help(Canvas& c) {
    c.set_view({0, 0}, c.width() / 16.0f);
    c.fill_outlined(circle({8, 8}, 7.6f), radial({6, 5}, 10, kBlueLight, kBlue), kBlueDark, 0.9f);
    const Vec2 hook{8, 6.1f};
    c.fill(unite({arc(hook, 2.6f, 1.05f, 175, 215), capsule(point_on_circle(hook, 2.6f, 30), {8, 9.3f}, 1.05f),
                  capsule({8, 9.3f}, {8, 9.9f}, 1.05f), circle({8, 12.4f}, 1.15f)}),
           kWhite);
}

// Frame strips shade across their thickness only, so the window can stretch
// them along an edge of any length without changing how they look.
void shade_strip(Canvas& c, bool horizontal, bool outer_at_start) {
    const std::vector<Colour> profile = {rgb(0x17498F), rgb(0x2A78D6), rgb(0x7DB8F2), rgb(0xD6E9FB)};
    c.shade([&](int x, int y) {
        int across = horizontal ? y : x;
        int thickness = horizontal ? c.height() : c.width();
        int from_outer = outer_at_start ? across : thickness - 1 - across;
        float t = thickness > 1 ? from_outer * (profile.size() - 1) / float(thickness - 1) : 0;
        int i = std::min(static_cast<int>(t), static_cast<int>(profile.size()) - 2);
        return mix(profile[i], profile[i + 1], t - i);
    });
}

void draw_frame_top(Canvas& c) { shade_strip(c, true, true); }
void draw_frame_bottom(Canvas& c) { shade_strip(c, true, false); }
void draw_frame_left(Canvas& c) { shade_strip(c, false, true); }
void draw_frame_right(Canvas& c) { shade_strip(c, false, false); }

// The separator above the activity log: a green band that fades into the
// white page at both ends.
void draw_separator(Canvas& c) {
    const float fade = 48;
    c.shade([&](int x, int y) {
        float across = (y + 0.5f) / c.height();
        float core = 1 - std::abs(across - 0.5f) * 2;  // 0 at the edges, 1 in the middle
        Colour band = mix(rgb(0xDDF3E2), mix(kGreen, kGreenDark, 0.25f), std::pow(core, 0.8f));
        float ends = std::min({1.0f, (x + 0.5f) / fade, (c.width() - x - 0.5f) / fade});
        band.a = ends * ends * (3 - 2 * ends);
        return band;
    });
}

// ---- The console launchers: one picture per snap-in, on the same grid as
// the navigation icons, each showing what its console manages. ----

const Colour kPaper = rgb(0xFDFDF8);
const Colour kPaperRim = rgb(0x6D7B8B);
const Colour kRed = rgb(0xD9413A);
const Colour kRedDark = rgb(0x8E231E);
const Colour kGrey = rgb(0xB8C3CF);
const Colour kGreyDark = rgb(0x5B6878);

// A sheet with a folded corner and ruled lines.
void sheet(Canvas& c, Vec2 centre, Vec2 half, int lines) {
    const float l = centre.x - half.x, r = centre.x + half.x, t = centre.y - half.y, b = centre.y + half.y;
    const float fold = half.x * 0.45f;
    c.fill_outlined(polygon({{l, t}, {r - fold, t}, {r, t + fold}, {r, b}, {l, b}}), solid(kPaper), kPaperRim, 1.1f);
    c.fill(polygon({{r - fold, t}, {r, t + fold}, {r - fold, t + fold}}), kGrey);
    for (int i = 0; i < lines; ++i) {
        const float y = t + fold + 4 + i * 4.5f;
        if (y > b - 3) break;
        c.fill(capsule({l + 3.5f, y}, {r - 3.5f - (i % 2) * 4, y}, 0.7f), kGreyDark);
    }
}

Shape gear(Vec2 centre, float radius, int teeth, float hole) {
    std::vector<Shape> parts{circle(centre, radius * 0.78f)};
    for (int i = 0; i < teeth; ++i)
        parts.push_back(rotated(box({centre.x, centre.y - radius * 0.86f}, {radius * 0.17f, radius * 0.22f}, 0.6f),
                                centre, 360.0f * i / teeth));
    return subtract(unite(parts), circle(centre, hole));
}

Shape person(Vec2 head, float size) {
    Shape body = intersect(circle({head.x, head.y + size * 2.3f}, size * 1.55f),
                           box({head.x, head.y + size * 1.75f}, {size * 2, size * 0.95f}));
    return unite({circle(head, size * 0.75f), body});
}

void draw_certificates(Canvas& c) {
    use_grid(c);
    // Half a pixel off the grid, so the straight edges blend into the white.
    sheet(c, {22.5f, 22.5f}, {16, 18}, 4);
    c.fill_outlined(unite({polygon({{30, 36}, {33, 46}, {35, 42}, {38, 45}, {36, 36}})}), solid(kRed), kRedDark, 0.9f);
    c.fill_outlined(circle({34, 34}, 6.5f), radial({32, 32}, 8, kGoldLight, kGold), kGoldDark, 1.1f);
}

void draw_indexing(Canvas& c) {
    use_grid(c);
    sheet(c, {20, 21}, {14, 17}, 5);
    c.fill_outlined(capsule({34, 34}, {44, 44}, 3), solid(rgb(0x8A5424)), rgb(0x5E3814), 1.0f);
    c.fill_outlined(subtract(circle({29, 29}, 9.5f), circle({29, 29}, 6.8f)), solid(kSlate), kSlate, 0.5f);
    c.fill(circle({29, 29}, 6.8f), rgb(0xBFE3FF, 0.55f));
}

void draw_computer_management(Canvas& c) {
    use_grid(c);
    c.fill_outlined(box({20, 19}, {17, 13}, 2), top_down(rgb(0x4A5F7A), rgb(0x25344A), 6, 32), kSlate, kRim);
    c.fill(box({20, 18.5f}, {14, 10}, 1), top_down(kBlueLight, kBlue, 8, 29));
    c.fill_outlined(box({20, 36}, {8, 2}, 1), solid(kGrey), kSlate, 1.0f);
    c.fill_outlined(gear({35, 35}, 11, 8, 3.5f), top_down(kGoldLight, kGold, 24, 46), kGoldDark, 1.2f);
}

void draw_device_manager(Canvas& c) {
    use_grid(c);
    // An expansion card: board, gold contacts, a chip and a bracket.
    c.fill_outlined(box({26.5f, 22.5f}, {18, 12}, 1.2f), top_down(kGreenLight, kGreen, 10, 34), kGreenDark, kRim);
    for (float x = 13; x <= 39; x += 4) c.fill(box({x, 37}, {1.3f, 3}), kGold);
    c.fill_outlined(box({22, 21}, {7, 6}, 1), solid(rgb(0x23303F)), kSlate, 1.0f);
    c.fill_outlined(box({5.5f, 24.5f}, {2, 18}, 0.8f), solid(kGrey), kGreyDark, 1.0f);
    c.fill(circle({36, 17}, 2.5f), kGold);
}

void draw_defragmenter(Canvas& c) {
    use_grid(c);
    // The defragmenter's map: files in blocks, gathered and scattered.
    const std::uint32_t colours[4][5] = {{0x2A78D6, 0x2A78D6, 0x2A78D6, 0x2A78D6, 0x33AD52},
                                         {0x2A78D6, 0x2A78D6, 0xD9413A, 0xFFFFFF, 0x33AD52},
                                         {0xD9413A, 0xFFFFFF, 0x2A78D6, 0xD9413A, 0xFFFFFF},
                                         {0xFFFFFF, 0xD9413A, 0xFFFFFF, 0x2A78D6, 0xD9413A}};
    c.fill_outlined(box({24, 24}, {21, 17}, 1.5f), solid(rgb(0xE9EEF3)), kSlate, kRim);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 5; ++col)
            c.fill(box({8.5f + col * 7.75f, 12.5f + row * 7.7f}, {3.2f, 3.2f}, 0.6f), rgb(colours[row][col]));
}

void draw_disk_management(Canvas& c) {
    use_grid(c);
    c.fill_outlined(box({24.5f, 24.5f}, {20, 15}, 2.5f), top_down(kGrey, rgb(0x7D8B9B), 9, 39), kSlate, kRim);
    c.fill_outlined(circle({20, 24}, 10.5f), radial({17, 20}, 13, rgb(0xF2F5F8), rgb(0xAAB6C3)), kGreyDark, 1.0f);
    c.fill(circle({20, 24}, 2.2f), kSlate);
    c.fill(capsule({22, 27}, {37, 33}, 1.3f), kSlate);
    c.fill(circle({38, 14}, 1.8f), kGreen);
}

void draw_event_viewer(Canvas& c) {
    use_grid(c);
    sheet(c, {19, 23}, {15, 19}, 6);
    Shape sign = grow(polygon({{35, 24}, {45, 43}, {25, 43}}), 1.2f);
    c.fill_outlined(sign, top_down(kGoldLight, kGold, 24, 44), kGoldDark, 1.1f);
    c.fill(unite({capsule({35, 30}, {35, 36}, 1.3f), circle({35, 40}, 1.4f)}), kSlate);
}

void draw_shared_folders(Canvas& c) {
    use_grid(c);
    Shape folder = unite({box({15, 12}, {9, 4}, 1.5f), box({24, 23}, {20, 12}, 1.5f)});
    c.fill_outlined(folder, top_down(kGoldLight, kGold, 8, 36), kGoldDark, kRim);
    // The hand that says "shared", as Explorer draws it, held out below.
    Shape hand = unite({box({20, 41}, {13, 3.5f}, 3), capsule({30, 39}, {41, 33}, 2.6f)});
    c.fill_outlined(hand, top_down(kBlueLight, kBlue, 33, 45), kBlueDark, 1.1f);
}

void draw_group_policy(Canvas& c) {
    use_grid(c);
    sheet(c, {24.5f, 24.5f}, {17, 20}, 0);
    for (int i = 0; i < 3; ++i) {
        const float y = 17 + i * 9.5f;
        c.fill_outlined(box({14, y}, {3, 3}, 0.5f), solid(kWhite), kGreyDark, 0.9f);
        c.fill(capsule({21, y}, {35, y}, 0.9f), kGreyDark);
        if (i != 1) c.fill(polyline({{12, y}, {14, y + 2}, {17.5f, y - 3}}, 1.0f), kGreen);
    }
}

void draw_users(Canvas& c) {
    use_grid(c);
    c.fill_outlined(person({31, 15}, 7), top_down(kGreenLight, kGreen, 8, 40), kGreenDark, kRim);
    c.fill_outlined(person({18, 19}, 8), top_down(kBlueLight, kBlue, 11, 46), kBlueDark, kRim);
}

void tape(Canvas& c, Vec2 centre, float scale) {
    auto at = [&](float x, float y) { return Vec2{centre.x + x * scale, centre.y + y * scale}; };
    c.fill_outlined(box(centre, {18 * scale, 12 * scale}, 2 * scale), top_down(rgb(0x4A5F7A), rgb(0x25344A)), kSlate,
                    kRim);
    c.fill(box(at(0, -2), {13 * scale, 6 * scale}, 1.5f * scale), kPaper);
    for (float x : {-7.0f, 7.0f}) {
        c.fill_outlined(circle(at(x, -2), 4.2f * scale), solid(rgb(0x2A3B52)), kGreyDark, 0.8f);
        c.fill(circle(at(x, -2), 1.6f * scale), kWhite);
    }
    c.fill(box(at(0, 8), {9 * scale, 2 * scale}, 0.5f), kGrey);
}

void draw_removable_storage(Canvas& c) {
    use_grid(c);
    tape(c, {24, 24}, 1.15f);
}

void draw_operator_requests(Canvas& c) {
    use_grid(c);
    tape(c, {20, 30}, 0.9f);
    Shape bubble = unite({circle({34, 13}, 11), polygon({{26, 19}, {24, 27}, {32, 22}})});
    c.fill_outlined(bubble, solid(kWhite), kBlueDark, kRim);
    c.fill(unite({arc({34, 10}, 3.6f, 1.3f, 180, 250), capsule({34, 13.6f}, {34, 16}, 1.3f), circle({34, 19.5f}, 1.4f)}),
           kBlue);
}

void draw_performance(Canvas& c) {
    use_grid(c);
    const Vec2 hub{24, 28};
    c.fill_outlined(circle({24, 26}, 21), radial({18, 18}, 30, rgb(0xFFF6E8), rgb(0xE8D8BF)), kSlate, kRim);
    c.fill(arc(hub, 15, 2.6f, 150, 80), kGreen);
    c.fill(arc(hub, 15, 2.6f, 232, 78), kGold);
    c.fill(arc(hub, 15, 2.6f, 312, 78), kRed);
    c.fill(capsule(hub, point_on_circle(hub, 14, -35), 1.7f), kSlate);
    c.fill(circle(hub, 3.3f), kSlate);
    c.fill(box({24, 40}, {6, 2.5f}, 1), kGreyDark);
}

void draw_resultant_policy(Canvas& c) {
    use_grid(c);
    for (int i = 2; i >= 0; --i) {
        const Colour tint = i == 0 ? kPaper : mix(kBlueLight, kPaper, 0.4f * i);
        c.fill_outlined(box({19 + i * 5.0f, 17 + i * 6.0f}, {13, 10}, 1.2f), solid(tint), kBlueDark, 1.1f);
    }
    c.fill_outlined(circle({35, 35}, 9), radial({33, 32}, 11, kGreenLight, kGreen), kGreenDark, 1.1f);
    c.fill(polyline({{30.5f, 35}, {34, 38.5f}, {40, 31.5f}}, 1.4f), kWhite);
}

void draw_security(Canvas& c) {
    use_grid(c);
    Shape shield = polygon({{24, 3}, {42, 9}, {41, 26}, {24, 45}, {7, 26}, {6, 9}});
    c.fill_outlined(grow(shield, 0.5f), top_down(kBlueLight, kBlueDark, 3, 45), kSlate, kRim);
    c.fill_outlined(subtract(arc({24, 20}, 5.5f, 1.8f, 180, 180), box({24, 24}, {10, 3})), solid(kGrey), kGreyDark,
                    0.6f);
    c.fill_outlined(box({24, 28}, {8.5f, 7}, 1.2f), top_down(kGoldLight, kGold, 21, 35), kGoldDark, 1.0f);
    c.fill(unite({circle({24, 27}, 1.8f), capsule({24, 27}, {24, 31.5f}, 0.9f)}), kSlate);
}

void draw_services(Canvas& c) {
    use_grid(c);
    c.fill_outlined(gear({18, 19}, 15, 10, 5), top_down(kGrey, rgb(0x7D8B9B), 4, 34), kSlate, kRim);
    c.fill_outlined(gear({34, 34}, 11, 8, 3.5f), top_down(kBlueLight, kBlue, 23, 45), kBlueDark, kRim);
}

void draw_wmi(Canvas& c) {
    use_grid(c);
    // A box of instruments being worked on: the cube of a managed object
    // and a wrench across it.
    c.fill_outlined(polygon({{24, 6}, {41, 14}, {24, 22}, {7, 14}}), solid(kBlueLight), kBlueDark, 1.1f);
    c.fill_outlined(polygon({{7, 14}, {24, 22}, {24, 42}, {7, 33}}), solid(kBlue), kBlueDark, 1.1f);
    c.fill_outlined(polygon({{41, 14}, {24, 22}, {24, 42}, {41, 33}}), solid(kBlueDark), kSlate, 1.1f);
    Shape wrench = subtract(unite({capsule({12, 40}, {33, 19}, 2.4f), circle({36, 16}, 6)}),
                            rotated(box({39, 13}, {2.6f, 5}), {36, 16}, 45));
    c.fill_outlined(wrench, top_down(kGrey, rgb(0x8D99A6), 10, 44), kGreyDark, 1.1f);
}

}  // namespace

const std::vector<Picture>& pictures() {
    static const std::vector<Picture> table = {
        {"Image_welcome_screen", 48, 48, draw_house},
        {"Image_network_options", 48, 48, draw_globe},
        {"Image_power_options", 48, 48, draw_power},
        {"Image_system_options", 48, 48, draw_chip},
        {"Image_customization_options", 48, 48, draw_palette},
        {"Image_undo_options", 48, 48, draw_undo},
        {"Image_regclean_option", 48, 48, draw_broom},
        {"Image_process_monitor", 48, 48, draw_monitor},
        {"Image_admin_options", 48, 48, draw_key},
        {"Image_exit_options", 48, 48, draw_exit},
        // The main window's client area is 614 x 584; the strips are made to
        // that length so they are blitted 1:1 on the usual layout.
        {"Image_frame_top", 614, 4, draw_frame_top},
        {"Image_frame_bottom", 614, 4, draw_frame_bottom},
        {"Image_frame_left", 4, 584, draw_frame_left},
        {"Image_frame_right", 4, 584, draw_frame_right},
        {"Image5", 601, 8, draw_separator},
        {"Image3", 105, 65, draw_logo},
        {"Help", 16, 16, draw_help},
        // The console launchers, in the board's order.
        {"Image26", 48, 48, draw_certificates},
        {"Image27", 48, 48, draw_indexing},
        {"Image28", 48, 48, draw_computer_management},
        {"Image29", 48, 48, draw_device_manager},
        {"Image30", 48, 48, draw_defragmenter},
        {"Image31", 48, 48, draw_disk_management},
        {"Image32", 48, 48, draw_event_viewer},
        {"Image33", 48, 48, draw_shared_folders},
        {"Image34", 48, 48, draw_group_policy},
        {"Image35", 48, 48, draw_users},
        {"Image36", 48, 48, draw_removable_storage},
        {"Image37", 48, 48, draw_operator_requests},
        {"Image38", 48, 48, draw_performance},
        {"Image39", 48, 48, draw_resultant_policy},
        {"Image40", 48, 48, draw_security},
        {"Image41", 48, 48, draw_services},
        {"Image42", 48, 48, draw_wmi},
    };
    return table;
}

Image render(const Picture& picture) {
    Canvas canvas(picture.width, picture.height);
    picture.draw(canvas);
    return canvas.flattened(kWhite);
}

Image emblem_icon(int size) {
    Canvas canvas(size, size);
    canvas.set_view({0, 0}, size / kGrid);
    draw_emblem(canvas, size <= 16 ? 1.45f : size <= 32 ? 1.15f : 1.0f);
    return canvas.image();
}

}  // namespace veltrano::artgen

#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veltrano::artgen {

namespace {

Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
float length(Vec2 a) { return std::sqrt(dot(a, a)); }
float radians(float deg) { return deg * std::numbers::pi_v<float> / 180.0f; }

float segment_distance(Vec2 p, Vec2 a, Vec2 b) {
    Vec2 pa = p - a, ba = b - a;
    float len2 = dot(ba, ba);
    float h = len2 > 0 ? std::clamp(dot(pa, ba) / len2, 0.0f, 1.0f) : 0.0f;
    return length(pa - ba * h);
}

std::uint8_t to_byte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Colour rgb(std::uint32_t hex, float alpha) {
    return {((hex >> 16) & 0xFF) / 255.0f, ((hex >> 8) & 0xFF) / 255.0f, (hex & 0xFF) / 255.0f, alpha};
}

Colour mix(Colour a, Colour b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Shape circle(Vec2 centre, float radius) {
    return [=](Vec2 p) { return length(p - centre) - radius; };
}

Shape box(Vec2 centre, Vec2 half_size, float corner_radius) {
    return [=](Vec2 p) {
        Vec2 d = p - centre;
        float qx = std::abs(d.x) - half_size.x + corner_radius;
        float qy = std::abs(d.y) - half_size.y + corner_radius;
        float outside = length({std::max(qx, 0.0f), std::max(qy, 0.0f)});
        return outside + std::min(std::max(qx, qy), 0.0f) - corner_radius;
    };
}

Shape capsule(Vec2 a, Vec2 b, float half_width) {
    return [=](Vec2 p) { return segment_distance(p, a, b) - half_width; };
}

Shape polyline(std::vector<Vec2> points, float half_width) {
    return [points = std::move(points), half_width](Vec2 p) {
        float d = 1e9f;
        for (std::size_t i = 1; i < points.size(); ++i)
            d = std::min(d, segment_distance(p, points[i - 1], points[i]));
        return d - half_width;
    };
}

Shape polygon(std::vector<Vec2> v) {
    return [v = std::move(v)](Vec2 p) {
        float d = dot(p - v[0], p - v[0]);
        float sign = 1;
        for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
            Vec2 e = v[j] - v[i];
            Vec2 w = p - v[i];
            Vec2 b = w - e * std::clamp(dot(w, e) / dot(e, e), 0.0f, 1.0f);
            d = std::min(d, dot(b, b));
            // Crossing count along +x decides inside; the edge test is the
            // half-open one so shared vertices are not counted twice.
            bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
        }
        return sign * std::sqrt(d);
    };
}

Shape ellipse_outline(Vec2 centre, float rx, float ry, float half_width) {
    return [=](Vec2 p) {
        Vec2 d = p - centre;
        Vec2 q{d.x / rx, d.y / ry};
        float k = length(q);
        if (k < 1e-6f) return std::min(rx, ry) - half_width;
        // First-order distance: the implicit function over its gradient. Good
        // to a fraction of a pixel near the curve, which is all a stroke needs.
        float grad = length({d.x / (rx * rx), d.y / (ry * ry)}) / k;
        return std::abs((k - 1) / grad) - half_width;
    };
}

Vec2 point_on_circle(Vec2 centre, float radius, float deg) {
    return {centre.x + radius * std::cos(radians(deg)), centre.y + radius * std::sin(radians(deg))};
}

Shape arc(Vec2 centre, float radius, float half_width, float start_deg, float sweep_deg) {
    Vec2 a = point_on_circle(centre, radius, start_deg);
    Vec2 b = point_on_circle(centre, radius, start_deg + sweep_deg);
    return [=](Vec2 p) {
        Vec2 d = p - centre;
        float deg = std::atan2(d.y, d.x) * 180.0f / std::numbers::pi_v<float>;
        float along = std::fmod(deg - start_deg + 720.0f, 360.0f);
        if (along <= sweep_deg) return std::abs(length(d) - radius) - half_width;
        return std::min(length(p - a), length(p - b)) - half_width;
    };
}

Shape unite(std::vector<Shape> shapes) {
    return [shapes = std::move(shapes)](Vec2 p) {
        float d = 1e9f;
        for (const auto& s : shapes) d = std::min(d, s(p));
        return d;
    };
}

Shape intersect(Shape a, Shape b) {
    return [=](Vec2 p) { return std::max(a(p), b(p)); };
}

Shape subtract(Shape from, Shape cut) {
    return [=](Vec2 p) { return std::max(from(p), -cut(p)); };
}

Shape grow(Shape s, float by) {
    return [=](Vec2 p) { return s(p) - by; };
}

Shape rotated(Shape s, Vec2 pivot, float deg) {
    float c = std::cos(radians(-deg)), sn = std::sin(radians(-deg));
    return [=](Vec2 p) {
        Vec2 d = p - pivot;
        return s(Vec2{pivot.x + d.x * c - d.y * sn, pivot.y + d.x * sn + d.y * c});
    };
}

Paint solid(Colour c) {
    return [=](Vec2) { return c; };
}

Paint linear(Vec2 p0, Colour c0, Vec2 p1, Colour c1) {
    Vec2 axis = p1 - p0;
    float len2 = dot(axis, axis);
    return [=](Vec2 p) { return mix(c0, c1, dot(p - p0, axis) / len2); };
}

Paint radial(Vec2 centre, float radius, Colour inner, Colour outer) {
    return [=](Vec2 p) { return mix(inner, outer, length(p - centre) / radius); };
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

void Canvas::set_view(Vec2 origin_px, float pixels_per_unit) {
    origin_ = origin_px;
    scale_ = pixels_per_unit;
}

void Canvas::blend(int x, int y, Colour c, float coverage) {
    float a = c.a * coverage;
    if (a <= 0) return;
    Premultiplied& d = pixels_[static_cast<std::size_t>(y) * width_ + x];
    d.r = c.r * a + d.r * (1 - a);
    d.g = c.g * a + d.g * (1 - a);
    d.b = c.b * a + d.b * (1 - a);
    d.a = a + d.a * (1 - a);
}

void Canvas::fill(const Shape& shape, const Paint& paint) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            Vec2 p{(x + 0.5f - origin_.x) / scale_, (y + 0.5f - origin_.y) / scale_};
            float coverage = std::clamp(0.5f - shape(p) * scale_, 0.0f, 1.0f);
            if (coverage > 0) blend(x, y, paint(p), coverage);
        }
    }
}

void Canvas::fill_outlined(const Shape& shape, const Paint& inside, Colour rim, float rim_width) {
    fill(shape, rim);
    fill(grow(shape, -rim_width), inside);
}

void Canvas::shade(const std::function<Colour(int x, int y)>& f) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) blend(x, y, f(x, y), 1.0f);
}

Image Canvas::image() const {
    Image out{width_, height_, std::vector<std::uint8_t>(pixels_.size() * 4)};
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        const Premultiplied& p = pixels_[i];
        float inv = p.a > 0 ? 1.0f / p.a : 0.0f;
        out.rgba[i * 4 + 0] = to_byte(p.r * inv);
        out.rgba[i * 4 + 1] = to_byte(p.g * inv);
        out.rgba[i * 4 + 2] = to_byte(p.b * inv);
        out.rgba[i * 4 + 3] = to_byte(p.a);
    }
    return out;
}

Image Canvas::flattened(Colour background) const {
    Image out{width_, height_, std::vector<std::uint8_t>(pixels_.size() * 4)};
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        const Premultiplied& p = pixels_[i];
        out.rgba[i * 4 + 0] = to_byte(p.r + background.r * (1 - p.a));
        out.rgba[i * 4 + 1] = to_byte(p.g + background.g * (1 - p.a));
        out.rgba[i * 4 + 2] = to_byte(p.b + background.b * (1 - p.a));
        out.rgba[i * 4 + 3] = 255;
    }
    return out;
}

}  // namespace veltrano::artgen

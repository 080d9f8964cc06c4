#include "formats.h"

namespace veltrano::artgen {

namespace {

void put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void put_tag(Bytes& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// DIB rows are padded to a multiple of four bytes.
std::uint32_t row_length(int width, int bits_per_pixel) {
    return ((static_cast<std::uint32_t>(width) * bits_per_pixel + 31) / 32) * 4;
}

void put_info_header(Bytes& out, int width, int height, int bits, std::uint32_t image_length) {
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);  // BI_RGB
    put32(out, image_length);
    put32(out, 2835);  // 72 dpi, which nobody reads but some viewers print
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
}

const std::uint8_t* pixel(const Image& image, int x, int y) {
    return &image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4];
}

}  // namespace

Bytes encode_bmp24(const Image& image) {
    const std::uint32_t stride = row_length(image.width, 24);
    const std::uint32_t image_length = stride * static_cast<std::uint32_t>(image.height);
    const std::uint32_t offset = 14 + 40;
    Bytes out;
    out.reserve(offset + image_length);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + image_length);
    put32(out, 0);
    put32(out, offset);
    put_info_header(out, image.width, image.height, 24, image_length);
    for (int y = image.height - 1; y >= 0; --y) {
        std::size_t row_start = out.size();
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = pixel(image, x, y);
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
        out.resize(row_start + stride, 0);
    }
    return out;
}

Bytes encode_ico(const std::vector<Image>& images) {
    Bytes out;
    put16(out, 0);
    put16(out, 1);  // icon, not cursor
    put16(out, static_cast<std::uint32_t>(images.size()));

    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const Image& image : images) {
        std::uint32_t length = 40 + row_length(image.width, 32) * image.height +
                               row_length(image.width, 1) * image.height;
        out.push_back(static_cast<std::uint8_t>(image.width & 0xFF));  // 0 would mean 256
        out.push_back(static_cast<std::uint8_t>(image.height & 0xFF));
        out.push_back(0);  // no palette
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, length);
        put32(out, offset);
        offset += length;
    }

    for (const Image& image : images) {
        const std::uint32_t colour_length = row_length(image.width, 32) * image.height;
        const std::uint32_t mask_stride = row_length(image.width, 1);
        // The height in an icon's header counts the colour and mask halves.
        put_info_header(out, image.width, image.height * 2, 32, colour_length + mask_stride * image.height);
        for (int y = image.height - 1; y >= 0; --y) {
            for (int x = 0; x < image.width; ++x) {
                const std::uint8_t* p = pixel(image, x, y);
                out.insert(out.end(), {p[2], p[1], p[0], p[3]});
            }
        }
        for (int y = image.height - 1; y >= 0; --y) {
            Bytes row(mask_stride, 0);
            for (int x = 0; x < image.width; ++x) {
                // A set bit lets the screen show through where the pixel is
                // fully transparent; anything partly covered stays drawn.
                if (pixel(image, x, y)[3] == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    return out;
}

Bytes encode_wav(const std::vector<std::int16_t>& samples, std::uint32_t sample_rate) {
    const std::uint32_t data_length = static_cast<std::uint32_t>(samples.size()) * 2;
    Bytes out;
    put_tag(out, "RIFF");
    put32(out, 4 + (8 + 16) + (8 + data_length));
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, sample_rate);
    put32(out, sample_rate * 2);
    put16(out, 2);
    put16(out, 16);
    put_tag(out, "data");
    put32(out, data_length);
    for (std::int16_t s : samples) put16(out, static_cast<std::uint16_t>(s));
    return out;
}

}  // namespace veltrano::artgen

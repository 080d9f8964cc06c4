#include "sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veltrano::artgen {

namespace {

// One struck note: a few harmonics, a quick attack so it does not click and
// an exponential decay like a small bell.
struct Note {
    float frequency;
    float start_s;
    float decay_s;
    float loudness;
};

struct Partial {
    float ratio;
    float level;
};

std::vector<std::int16_t> synthesise(const std::vector<Note>& notes, const std::vector<Partial>& timbre,
                                     float length_s) {
    const std::size_t count = static_cast<std::size_t>(length_s * kSampleRate);
    std::vector<float> mixdown(count, 0.0f);
    const float two_pi = 2 * std::numbers::pi_v<float>;
    for (const Note& note : notes) {
        for (std::size_t i = static_cast<std::size_t>(note.start_s * kSampleRate); i < count; ++i) {
            float t = i / float(kSampleRate) - note.start_s;
            float envelope = (1 - std::exp(-t / 0.004f)) * std::exp(-t / note.decay_s) * note.loudness;
            float v = 0;
            for (const Partial& p : timbre) {
                // Upper partials die away faster, which is what makes it a chime.
                v += p.level * std::exp(-t * (p.ratio - 1) * 6) * std::sin(two_pi * note.frequency * p.ratio * t);
            }
            mixdown[i] += envelope * v;
        }
    }
    // The tail is faded to silence so the sound does not end on a click.
    const std::size_t tail = kSampleRate / 40;
    for (std::size_t i = 0; i < tail && i < count; ++i) mixdown[count - 1 - i] *= i / float(tail);

    float peak = 0;
    for (float v : mixdown) peak = std::max(peak, std::abs(v));
    // Well below full scale: a system sound should not be the loudest thing
    // on the desk, and there is headroom for the mixer.
    const float gain = peak > 0 ? 0.6f * 32767 / peak : 0;
    std::vector<std::int16_t> out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::int16_t>(std::lround(mixdown[i] * gain));
    return out;
}

const std::vector<Partial> kBell = {{1.0f, 1.0f}, {2.0f, 0.28f}, {3.0f, 0.1f}, {4.16f, 0.05f}};

}  // namespace

std::vector<std::int16_t> start_chime() {
    // E5 then B5: a fifth up, the sound of something opening.
    return synthesise({{659.26f, 0.0f, 0.075f, 0.8f}, {987.77f, 0.15f, 0.11f, 1.0f}}, kBell, 0.48f);
}

std::vector<std::int16_t> done_chime() {
    // A bright E6 over a soft octave below it.
    return synthesise({{1318.5f, 0.0f, 0.13f, 1.0f}, {659.26f, 0.0f, 0.09f, 0.25f}}, kBell, 0.5f);
}

}  // namespace veltrano::artgen

#include "net/random.h"

#include <random>

namespace veltrano::net {

std::uint32_t unpredictable_bits() {
    // The system's entropy source, not a generator seeded from the clock,
    // whose reading a forger knows as well as we do.
    static std::random_device device;
    return device();
}

}  // namespace veltrano::net

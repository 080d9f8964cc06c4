// The writer gate of a machine where another Veltrano may hold it for good.
#pragma once

#include "tips/writer_gate.h"

#include <cstdint>
#include <vector>

namespace veltrano::fakes {

class FakeWriterGate : public tips::WriterGate {
public:
    bool acquire(std::uint32_t timeout_ms) override {
        waits.push_back(timeout_ms);
        held = !held_elsewhere;
        return held;
    }
    void release() override { held = false; }

    bool held_elsewhere = false;
    bool held = false;
    std::vector<std::uint32_t> waits;
};

}  // namespace veltrano::fakes

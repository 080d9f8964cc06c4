// The one error that ends an operation and reaches the user as a message box
// with exactly this text; the program itself goes on.
#pragma once

#include <stdexcept>
#include <string>

namespace veltrano::core {

class VeltranoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace veltrano::core

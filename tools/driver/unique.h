// One move-only owner for every kind of handle the driver opens. The closer
// keeps GetLastError intact so a failure reported after a scope ends still
// tells the truth about the call that failed.
#pragma once

#include <windows.h>

#include <utility>

namespace veltrano::driver {

template <typename T, auto Close, T Invalid = T{}>
class Unique {
public:
    Unique() = default;
    explicit Unique(T value) : value_(value) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~Unique() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Invalid; }
    T release() { return std::exchange(value_, Invalid); }
    void reset(T value = Invalid) {
        if (value_ != Invalid) {
            const DWORD saved = GetLastError();
            Close(value_);
            SetLastError(saved);
        }
        value_ = value;
    }
    // For out-parameters of the Win32 calls that open things.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = Invalid;
};

inline void close_handle(HANDLE h) { CloseHandle(h); }
inline void close_key(HKEY k) { RegCloseKey(k); }

using UniqueHandle = Unique<HANDLE, close_handle>;
using UniqueKey = Unique<HKEY, close_key>;

}  // namespace veltrano::driver

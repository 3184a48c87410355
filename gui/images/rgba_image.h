#pragma once
// A decoded picture as plain bytes, and the result type of the picture decoders.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kvr {

// Rows top to bottom, four bytes per pixel in the order red, green, blue, alpha; or in the order
// a decoder was asked for, three bytes where it dropped alpha.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Either a decoded value or the reason the data could not be decoded.
template <typename T>
class DecodeResult {
public:
    DecodeResult(T value) : value_(std::move(value)) {}
    static DecodeResult failure(std::string message) { return DecodeResult(std::move(message)); }

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

    // Empty on success.
    const std::string& error() const { return error_; }

private:
    explicit DecodeResult(std::string message) : error_(std::move(message)) {}

    std::optional<T> value_;
    std::string error_;
};

}  // namespace kvr

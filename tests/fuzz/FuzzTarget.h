#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// The entry point that libFuzzer calls, and FuzzSmoke.cpp in its place.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

// A broken property ends the run at once, so that libFuzzer keeps the input that broke it.
inline void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz property broken: %s\n", what);
        std::abort();
    }
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// One character per byte: the rules under test look at ASCII delimiters, so every byte the
// fuzzer flips lands on a character that matters.
inline std::wstring Widened(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (unsigned char byte : bytes) {
        text += static_cast<wchar_t>(byte);
    }
    return text;
}

} // namespace fuzz

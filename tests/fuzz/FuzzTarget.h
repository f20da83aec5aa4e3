#pragma once

#include <cstddef>
#include <cstdint>

// The entry point that libFuzzer calls, and FuzzSmoke.cpp in its place.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

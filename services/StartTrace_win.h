#pragma once

// Timestamps of the start's steps, for the benchmark's breakdown of where a start goes
// (bench/trace). Only a build configured with TAVIMBO_START_TRACE records them; in the program
// as shipped the calls compile to nothing.
namespace services {

#ifdef TAVIMBO_START_TRACE
void StartTrace(const char* step) noexcept;
#else
inline void StartTrace(const char*) noexcept {}
#endif

} // namespace services

// Limits of the system that both programs respect before a call reaches it
// (no Windows headers: the pure rules of both include it).
#pragma once

#include <cstddef>

namespace syslimits {

// Longest command line the system starts, without its terminating NUL.
constexpr std::size_t kMaxCommandLine = 32766;

// Longest path the wide file functions take.
constexpr std::size_t kMaxPath = 32767;

} // namespace syslimits

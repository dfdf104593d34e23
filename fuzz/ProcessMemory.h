// The process's private bytes (committed memory that is its own), sampled to see
// whether the code under test leaks over many inputs.
#pragma once

#include <cstddef>

// 0 when the system cannot tell.
std::size_t PrivateBytes() noexcept;

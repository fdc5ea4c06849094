#pragma once

namespace kanaroll {

// Asks for the memory at `address` ahead of its use, where the compiler can; a loop over tens of
// thousands of records scattered on the heap waits for memory more than it computes.
inline void Prefetch([[maybe_unused]] const void* address) {
#if defined(__GNUC__)
    if (address) __builtin_prefetch(address);
#endif
}

}  // namespace kanaroll

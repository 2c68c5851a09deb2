#pragma once
// Which vector instructions the pixel code is compiled with, decided here for the whole
// library; every vector branch tests these macros and has a plain branch beside it.
//  - SLIPWAY_SSE2: 1 where the 128-bit integer instructions are always there (every x86-64).
//  - SLIPWAY_AVX2: 1 where 256-bit code is compiled beside it, for functions marked
//    SLIPWAY_TARGET_AVX2 and called only when processorHasAvx2() says so.
// Building with SLIPWAY_NO_VECTOR defined (the CMake option of that name) sets both to 0, so
// that the plain branches are compiled and tested on any machine.

#if !defined(SLIPWAY_NO_VECTOR) && (defined(__SSE2__) || defined(_M_X64))
#define SLIPWAY_SSE2 1
#include <emmintrin.h>
#else
#define SLIPWAY_SSE2 0
#endif

#if SLIPWAY_SSE2 && (defined(__GNUC__) || defined(__clang__)) && \
    (defined(__x86_64__) || defined(__i386__))
#define SLIPWAY_AVX2 1
#include <immintrin.h>
#define SLIPWAY_TARGET_AVX2 [[gnu::target("avx2")]]
#else
#define SLIPWAY_AVX2 0
#define SLIPWAY_TARGET_AVX2
#endif

namespace slipway {

// True when the 256-bit code is compiled and this processor can run it (asked once).
inline bool processorHasAvx2() {
#if SLIPWAY_AVX2
    static const bool able = __builtin_cpu_supports("avx2") != 0;
    return able;
#else
    return false;
#endif
}

}  // namespace slipway

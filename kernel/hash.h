// The renderer's only source of randomness: a stateless 32-bit hash of pixel and sample indices.
#ifndef SPIROVAULT_KERNEL_HASH_H
#define SPIROVAULT_KERNEL_HASH_H

#include "kernel/portable.h"

SV_FN unsigned int fmix32(unsigned int h) {
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}

// A hash output as a uniform float in [0, 1).
SV_FN float UnitFromHash(unsigned int a) {
    return (float)a * 2.3283064e-10f;
}

#endif

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

// Unbounded, as the host's own: the caller promises the buffer is large enough.
int AnsiSprintf(A_char* buffer, const A_char* format, ...) {
    va_list args;
    va_start(args, format);
    const int written = std::vsprintf(buffer, format, args);
    va_end(args);
    return written;
}

A_char* AnsiStrcpy(A_char* dest, const A_char* src) {
    return std::strcpy(dest, src);
}

template <double (*F)(double)>
A_FpLong Unary(A_FpLong x) {
    return F(x);
}
template <double (*F)(double, double)>
A_FpLong Binary(A_FpLong x, A_FpLong y) {
    return F(x, y);
}

const PF_ANSICallbacksSuite1 kAnsiSuite = {
    Unary<std::atan>,  Binary<std::atan2>, Unary<std::ceil>,  Unary<std::cos>,    Unary<std::exp>,
    Unary<std::fabs>,  Unary<std::floor>,  Binary<std::fmod>, Binary<std::hypot>, Unary<std::log>,
    Unary<std::log10>, Binary<std::pow>,   Unary<std::sin>,   Unary<std::sqrt>,   Unary<std::tan>,
    AnsiSprintf,       AnsiStrcpy,         Unary<std::asin>,  Unary<std::acos>,
};

}  // namespace

const PF_ANSICallbacksSuite1* StandaloneAnsiSuite() {
    return &kAnsiSuite;
}

}  // namespace hostsim

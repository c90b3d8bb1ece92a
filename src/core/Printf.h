#pragma once

// Lets the compiler check printf-style formats; mingw's C++ mode uses its own (ANSI) printf.
#if defined(__MINGW32__)
#define TSLY_PRINTF(fmt, args) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, args)))
#elif defined(__GNUC__) || defined(__clang__)
#define TSLY_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define TSLY_PRINTF(fmt, args)
#endif

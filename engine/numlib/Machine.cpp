#include "numlib/Machine.h"

#include <array>
#include <bit>
#include <cstdint>

#include "common/textio.h"
#include "numlib/Numlib_error.h"
#include "numlib/Numlib_text.h"

namespace vorm {

namespace {

// Bit patterns, so that the constants are exact whatever the compiler makes of
// decimal literals.
constexpr std::array<std::uint64_t, 8> kDoubleBits = {
    0x0010000000000000ULL, 0x7FEFFFFFFFFFFFFFULL, 0x3CA0000000000000ULL, 0x3CB0000000000000ULL,
    0x3FD34413509F79FFULL, 0x7FF8000000000000ULL, 0x7FF0000000000000ULL, 0xFFF0000000000000ULL};
constexpr std::array<std::uint32_t, 8> kFloatBits = {0x00800000U, 0x7F7FFFFFU, 0x33800000U, 0x34000000U,
                                                     0x3E9A209BU, 0x7FC00000U, 0x7F800000U, 0xFF800000U};
constexpr std::array<int, 12> kIntegers = {32, 4, 2, 31, 2147483647, 2, 24, -125, 128, 53, -1021, 1024};
constexpr std::array<int, 3> kDefaultUnits = {5, 6, 6};

std::array<int, 3> g_units = kDefaultUnits;

// The option store: one entry per existing option, each owning a run of
// values.  Only MATH chapter 1 option 17 (the LU factorisation's choice of
// path) is read by anything.
struct Option {
    bool math;
    int chapter;
    int number;
    int count;
    std::array<int, 2> current;
    std::array<int, 2> defaults;
};
constexpr std::array<Option, 1> kDefaultOptions = {Option{true, 1, 17, 2, {1, 2}, {1, 2}}};
std::array<Option, 1> g_options = kDefaultOptions;

Option* find_option(bool math, int chapter, int number) {
    for (auto& o : g_options)
        if (o.math == math && o.chapter == chapter && o.number == number) return &o;
    return nullptr;
}

bool chapter_has_options(bool math, int chapter) {
    for (const auto& o : g_options)
        if (o.math == math && o.chapter == chapter) return true;
    return false;
}

}  // namespace

namespace detail {
void machine_reset() {
    g_units = kDefaultUnits;
    g_options = kDefaultOptions;
}
}  // namespace detail

double DMACH(int N) {
    if (N < 1 || N > 8) {
        E1PSH("DMACH ");
        MSG_SETI(1, N);
        E1MES(5, 5, "The argument must be between 1 and 8 inclusive. N = %(I1)");
        E1POP("DMACH ");
        return std::bit_cast<double>(kDoubleBits[5]);
    }
    return std::bit_cast<double>(kDoubleBits[static_cast<std::size_t>(N - 1)]);
}

float AMACH(int N) {
    if (N < 1 || N > 8) {
        E1PSH("AMACH ");
        MSG_SETI(1, N);
        E1MES(5, 5, "The argument must be between 1 and 8 inclusive. N = %(I1)");
        E1POP("AMACH ");
        return std::bit_cast<float>(kFloatBits[5]);
    }
    return std::bit_cast<float>(kFloatBits[static_cast<std::size_t>(N - 1)]);
}

int IMACH(int N) {
    if (N < 1 || N > 12) {
        write_fixed(numlib_console(),
                    "(/,' *** TERMINAL ERROR 5 from IMACH.  The argument',/,' ***          must be between 1 and "
                    "12 inclusive.',/,' ***          N = ',I6,'.',/)",
                    {N});
        numlib_end_program(5, 5, "IMACH");
    }
    return kIntegers[static_cast<std::size_t>(N - 1)];
}

void UMACH(int N, int& NUNIT) {
    const long long a = N < 0 ? -static_cast<long long>(N) : N;
    if (a < 1 || a > 3) {
        write_fixed(numlib_console(),
                    "(/,' *** TERMINAL ERROR 5 from UMACH.  The absolute',/,' ***          value of the index "
                    "variable must be',/,' ***          1, 2, or 3.  IABS(N) = ',I6,'.',/)",
                    {a});
        numlib_end_program(5, 5, "UMACH");
    }
    if (N > 0) {
        NUNIT = g_units[static_cast<std::size_t>(a - 1)];
    } else {
        g_units[static_cast<std::size_t>(a - 1)] = NUNIT;
    }
}

void IUMAG(std::string_view PRODNM, int ICHP, int IACT, int NUMOPT, const int* IOPTS, int* IVALS) {
    E1PSH("IUMAG ");
    const std::string_view product = PRODNM.substr(0, 4);
    const bool math = STR_CMP_NOCASE(product, "MATH") == 0;
    const bool stat = STR_CMP_NOCASE(product, "STAT") == 0;
    if (IACT != 1 && IACT != 2) {
        MSG_SETI(1, IACT);
        E1MES(5, 1, "IACT must be 1 to get option values or 2 to put option values.  IACT = %(I1) is invalid.");
    } else if (!math && !stat) {
        MSG_SETL(1, PRODNM);
        E1MES(5, 2, "The product name must be either MATH or STAT.  PRODNM = %(L1) is invalid.");
    } else if (math && (ICHP < 1 || ICHP > 10)) {
        MSG_SETI(1, ICHP);
        MSG_SETI(2, 10);
        E1MES(5, 3,
              "ICHP = %(I1) is an invalid MATH chapter number.  To get or put MATH options, ICHP must be between "
              "1 and %(I2).");
    } else if (stat && (ICHP < 1 || ICHP > 20)) {
        MSG_SETI(1, ICHP);
        MSG_SETI(2, 20);
        E1MES(5, 3,
              "ICHP = %(I1) is an invalid STAT chapter number.  To get or put STAT options, ICHP must be between "
              "1 and %(I2).");
    } else if (!chapter_has_options(math, ICHP)) {
        MSG_SETI(1, ICHP);
        E1MES(5, 4,
              math ? "No options exist for MATH chapter %(I1).  Only existing options may have values retrieved "
                     "from or placed into them."
                   : "No options exist for STAT chapter %(I1).  Only existing options may have values retrieved "
                     "from or placed into them.");
    } else if (NUMOPT <= 0) {
        MSG_SETI(1, NUMOPT);
        E1MES(5, 5, "NUMOPT = %(I1) is an invalid number of options.  NUMOPT must be greater than zero.");
    } else {
        // Check every option number before moving any value, so a bad list
        // changes nothing.
        bool ok = true;
        for (int i = 0; i < NUMOPT && ok; ++i) {
            int number = IOPTS[i] < 0 ? -IOPTS[i] : IOPTS[i];
            if (find_option(math, ICHP, number) == nullptr) {
                MSG_SETI(1, i + 1);
                MSG_SETI(2, IOPTS[i]);
                MSG_SETL(1, math ? "MATH" : "STAT");
                MSG_SETI(3, ICHP);
                E1MES(5, 6, "IOPTS(%(I1)) = %(I2) is an invalid %(L1) chapter %(I3) option number.");
                ok = false;
            }
        }
        int v = 0;
        for (int i = 0; i < NUMOPT && ok; ++i) {
            Option& o = *find_option(math, ICHP, IOPTS[i] < 0 ? -IOPTS[i] : IOPTS[i]);
            auto& values = IOPTS[i] < 0 ? o.defaults : o.current;
            for (int j = 0; j < o.count; ++j, ++v) {
                if (IACT == 1) {
                    IVALS[v] = values[static_cast<std::size_t>(j)];
                } else {
                    values[static_cast<std::size_t>(j)] = IVALS[v];
                }
            }
        }
    }
    E1POP("IUMAG ");
}

}  // namespace vorm

#include "numlib/Numlib_error.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>

#include "common/status.h"
#include "common/stop.h"
#include "common/textio.h"
#include "numlib/Kernels.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_text.h"

namespace vorm {

namespace {

constexpr int kLimit = 50;                         // deepest level of the name stack
constexpr int kNameLength = 32;                    // characters per routine name
constexpr int kMessageLength = 1024;               // characters of the one waiting message
constexpr int kKeyTableLength = 300;               // characters of substitution values (with 8 per entry)
constexpr int kKeyTextLength = 255;                // longest literal key value
constexpr int kMaxKeys = kKeyTableLength / 9 + 1;  // every entry costs at least 9

constexpr std::array<const char*, 8> kWords = {"UNKNOWN ", "NOTE    ", "ALERT   ", "WARNING ",
                                               "FATAL   ", "TERMINAL", "WARNING ", "FATAL   "};
constexpr std::array<int, 8> kDefaultPrint = {0, 0, 0, 1, 1, 1, 1, 1};
constexpr std::array<int, 8> kDefaultStop = {0, 0, 0, 0, 1, 1, 0, 1};

using Name = std::array<char, kNameLength>;

struct KeyEntry {
    char letter;
    char digit;
    short start;
    short length;
};

// NUMLIB_ERROR_STATE: fixed storage only, since E1PSH and E1POP run on every
// library call.
struct ErrorState {
    bool initialised = false;
    int level = 0;
    int limit = kLimit;
    std::array<Name, kLimit + 2> names{};
    std::array<int, kLimit + 2> type{};  // levels 1..51
    std::array<int, kLimit + 2> code{};
    std::array<int, 8> print{};  // types 1..7
    std::array<int, 8> stop{};
    int pending6 = 0;
    int pending7 = 0;
    std::array<char, kMessageLength> message{};
    int message_length = 0;
    std::array<char, kKeyTableLength> key_text{};
    std::array<KeyEntry, kMaxKeys> keys{};
    int key_count = 0;
    int key_table_length = 0;  // characters counted against the 300, 8 per entry included
};

ErrorState g_state;
std::ostream* g_console = nullptr;

void ensure_init() {
    if (!g_state.initialised) ERR_INIT();
}

Name pad_name(std::string_view name) {
    Name n;
    n.fill(' ');
    std::memcpy(n.data(), name.data(), std::min<std::size_t>(name.size(), kNameLength));
    return n;
}

// A worker named like dL2TRG is shown as DL2TRG.
std::string shown_name(const Name& n, bool trim) {
    std::string s(n.data(), n.size());
    if (s[0] >= 'a' && s[0] <= 'z' && s[1] >= 'A' && s[1] <= 'Z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
    if (trim) {
        std::size_t e = s.find_last_not_of(' ');
        s.erase(e == std::string::npos ? 0 : e + 1);
    }
    return s;
}

const char* word_of(int type) { return (type >= 1 && type <= 7) ? kWords[type] : kWords[0]; }

void clear_keys() {
    g_state.key_count = 0;
    g_state.key_table_length = 0;
}

void store_key(char letter, int k, std::string_view text) {
    ErrorState& s = g_state;
    int len = static_cast<int>(text.size());
    if (s.key_table_length + len + 8 > kKeyTableLength || s.key_count >= kMaxKeys) return;
    int start = 0;
    for (int i = 0; i < s.key_count; ++i) start += s.keys[i].length;
    std::memcpy(s.key_text.data() + start, text.data(), text.size());
    s.keys[s.key_count++] = {letter, static_cast<char>('0' + k), static_cast<short>(start), static_cast<short>(len)};
    s.key_table_length += len + 8;
}

// The latest setting of a key wins.
const KeyEntry* find_key(char letter, char digit) {
    for (int i = g_state.key_count - 1; i >= 0; --i)
        if (g_state.keys[i].letter == letter && g_state.keys[i].digit == digit) return &g_state.keys[i];
    return nullptr;
}

bool is_key_letter(char c) { return std::strchr("ACDIKLRSZ", c) != nullptr && c != '\0'; }

void append_message(std::string_view text) {
    ErrorState& s = g_state;
    int room = kMessageLength - s.message_length;
    int n = std::min<int>(room, static_cast<int>(text.size()));
    if (n <= 0) return;
    std::memcpy(s.message.data() + s.message_length, text.data(), static_cast<std::size_t>(n));
    s.message_length += n;
}

void build_message(std::string_view tmpl) {
    g_state.message_length = 0;
    append_message(".  ");
    if (tmpl.size() > kMessageLength) tmpl = tmpl.substr(0, kMessageLength);
    std::size_t i = 0;
    while (i < tmpl.size() && g_state.message_length < kMessageLength) {
        if (tmpl[i] == '%' && i + 4 < tmpl.size() && tmpl[i + 1] == '(' && tmpl[i + 4] == ')') {
            char letter = static_cast<char>(CHAR_UPCODE(tmpl[i + 2]));
            char digit = tmpl[i + 3];
            if (is_key_letter(letter) && digit >= '1' && digit <= '9') {
                if (const KeyEntry* e = find_key(letter, digit)) {
                    append_message(std::string_view(g_state.key_text.data() + e->start, e->length));
                } else {
                    append_message(tmpl.substr(i, 5));
                }
                i += 5;
                continue;
            }
        }
        append_message(tmpl.substr(i, 1));
        ++i;
    }
}

// Posts an internal error of the machinery, prints it whatever the print table
// says and ends the program.
[[noreturn]] void internal_error(int code, std::string_view tmpl) {
    E1MES(5, code, tmpl);
    ERR_PRINT();
    numlib_end_program(5, code, shown_name(g_state.names[g_state.level], true));
}

void set_tables_for(int type, int ipatt, int isatt) {
    if (ipatt == 0 || ipatt == 1) g_state.print[type] = ipatt;
    if (ipatt == 2) g_state.print[type] = kDefaultPrint[type];
    if (isatt == 0 || isatt == 1) g_state.stop[type] = isatt;
    if (isatt == 2) g_state.stop[type] = kDefaultStop[type];
}

}  // namespace

void numlib_set_console(std::ostream* out) { g_console = out; }
std::ostream& numlib_console() { return g_console ? *g_console : std::cout; }

void numlib_reset() {
    g_state = ErrorState{};
    detail::machine_reset();
}

void numlib_end_program(int type, int code, std::string_view routine) {
    numlib_console().flush();
    std::string word = word_of(type);
    word.erase(word.find_last_not_of(' ') + 1);
    std::string line = "THE NUMERICAL LIBRARY ENDED THE RUN: " + word + " ERROR " + std::to_string(code) + " FROM " +
                       std::string(routine);
    // The program is over; whatever catches the stop starts from a fresh state.
    g_state = ErrorState{};
    throw EngineStop({status_text(line)});
}

void ERR_INIT() {
    ErrorState& s = g_state;
    s = ErrorState{};
    s.initialised = true;
    s.level = 1;
    s.limit = kLimit;
    for (auto& n : s.names) n.fill(' ');
    s.names[1] = pad_name("USER");
    s.type[1] = 0;
    s.code[1] = 0;
    for (int l = 2; l <= kLimit + 1; ++l) {
        s.type[l] = -1;
        s.code[l] = -1;
    }
    s.print = kDefaultPrint;
    s.stop = kDefaultStop;
}

void E1PSH(std::string_view name) {
    ensure_init();
    ErrorState& s = g_state;
    if (s.level >= s.limit) {
        MSG_SETI(1, kLimit);
        internal_error(1, "Error condition in E1PSH.  Push would cause stack level to exceed %(I1). ");
    }
    ++s.level;
    s.names[s.level] = pad_name(name);
    s.type[s.level] = 0;
    s.code[s.level] = 0;
}

void E1POP(std::string_view name) {
    ensure_init();
    ErrorState& s = g_state;
    int L = s.level;
    if (L <= 1) {
        MSG_SETL(1, name);
        internal_error(1, "Error condition in E1POP.  Cannot pop from %(L1) because stack is empty.");
    }
    if (pad_name(name) != s.names[L]) {
        MSG_SETL(1, name);
        MSG_SETL(2, std::string_view(s.names[L].data(), s.names[L].size()));
        internal_error(2, "Error condition in E1POP.  %(L1) does not match the name %(L2) in the stack.");
    }
    int t = s.type[L];
    if (t != 0) {
        if (t >= 2 && t <= 7) {
            s.type[L - 1] = s.type[L];
            s.code[L - 1] = s.code[L];
        }
        if (t >= 1 && t <= 4) {
            if (L == 2) {
                if (s.print[t] == 1) ERR_PRINT();
                if (s.stop[t] == 1) numlib_end_program(t, s.code[L], shown_name(s.names[L], true));
            }
        } else if (t >= 5 && t <= 7) {
            if (s.print[t] == 1) ERR_PRINT();
            if (t == 5 && s.stop[5] == 1) numlib_end_program(t, s.code[L], shown_name(s.names[L], true));
            if (t != 5 && L == 2 && ERR_TAKE_PENDING() != 0)
                numlib_end_program(t, s.code[L], shown_name(s.names[L], true));
        }
    }
    if (L < s.limit) {
        s.type[L + 1] = -1;
        s.code[L + 1] = -1;
    }
    s.level = L - 1;
}

void E1MES(int type, int code, std::string_view message_template) {
    ensure_init();
    ErrorState& s = g_state;
    int L = s.level;
    if (type != -1) s.type[L] = type;
    if (code >= 0) s.code[L] = code;
    // The kept type or code decides when -1 was passed for it.
    int t = s.type[L];
    int c = s.code[L];
    if (t == 0 || c == 0) {
        s.message_length = 0;
    } else {
        if (!(message_template.empty() || message_template == " ")) build_message(message_template);
        if (t == 6) s.pending6 = 1;
        if (t == 7) s.pending7 = 1;
        if (t >= 5 && t <= 7 && s.print[t] == 1) ERR_PRINT();
    }
    clear_keys();
}

void MSG_SETI(int k, long long value) {
    ensure_init();
    if (k < 1 || k > 9) return;
    store_key('I', k, std::to_string(value));
}

namespace {
std::string real_key_text(double x, const char* scaled, const char* plain) {
    if (DIS_NAN(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "Infinity" : "-Infinity";
    std::string t = format_fixed(x == 0.0 ? plain : scaled, {x});
    t.erase(0, std::min(t.find_first_not_of(' '), t.size()));
    if (x == 0.0 && std::signbit(x)) t.insert(t.begin(), '-');
    return t;
}
}  // namespace

void MSG_SETR(int k, float value) {
    ensure_init();
    if (k < 1 || k > 9) return;
    store_key('R', k, real_key_text(static_cast<double>(value), "(1PE14.6)", "(E14.6)"));
}

void MSG_SETD(int k, double value) {
    ensure_init();
    if (k < 1 || k > 9) return;
    store_key('D', k, real_key_text(value, "(1PD24.15)", "(D24.15)"));
}

void MSG_SETL(int k, std::string_view text) {
    ensure_init();
    int ak = k < 0 ? -k : k;
    if (ak < 1 || ak > 9) return;
    if (text.size() > kKeyTextLength) text = text.substr(0, kKeyTextLength);
    if (k > 0) {
        std::size_t e = text.find_last_not_of(' ');
        text = text.substr(0, e == std::string_view::npos ? std::min<std::size_t>(1, text.size()) : e + 1);
        if (text.empty()) text = " ";
    }
    store_key('L', ak, text);
}

int N1RTY(int which) {
    ensure_init();
    if (which != 0 && which != 1) internal_error(1, "The argument passed to N1RTY must be 0 or 1. ");
    return g_state.type[g_state.level + which];
}

int N1RCD(int which) {
    ensure_init();
    if (which != 0 && which != 1) internal_error(1, "The argument passed to N1RCD must be 0 or 1. ");
    return g_state.code[g_state.level + which];
}

int LAST_ERROR_CODE() {
    int t = N1RTY(1);
    return (t >= 1 && t <= 4) ? N1RCD(1) : 0;
}

void ERSET(int iersvr, int ipact, int isact) {
    E1PSH("ERSET ");
    bool bad = false;
    if (iersvr < 0 || iersvr > 5) {
        MSG_SETI(1, iersvr);
        E1MES(5, 1, "Invalid error severity level indicator.  IERSVR must be 0 to 5.  IERSVR = %(I1)");
        bad = true;
    }
    if (ipact < -1 || ipact > 2) {
        MSG_SETI(1, ipact);
        E1MES(5, 2, "Invalid value specified for printing action.  IPACT must be -1 to 2.  IPACT = %(I1)");
        bad = true;
    }
    if (isact < -1 || isact > 2) {
        MSG_SETI(1, isact);
        E1MES(5, 3, "Invalid value specified for stopping action.  ISACT must be -1 to 2.  ISACT = %(I1)");
        bad = true;
    }
    if (!bad) ERR_SET_TABLES(iersvr, ipact, isact);
    E1POP("ERSET ");
}

void ERR_SET_TABLES(int iersvr, int ipatt, int isatt) {
    ensure_init();
    if (ipatt < -1 || ipatt > 2) {
        MSG_SETI(1, ipatt);
        E1MES(5, 1, "Invalid value specified for print table attribute.  IPATT must be -1, 0, 1, or 2.  IPATT = %(I1)");
        return;
    }
    if (isatt < -1 || isatt > 2) {
        MSG_SETI(1, isatt);
        E1MES(5, 1, "Invalid value specified for stop table attribute.  ISATT must be -1, 0, 1, or 2.  ISATT = %(I1)");
        return;
    }
    if (iersvr == 0) {
        for (int t = 1; t <= 7; ++t) set_tables_for(t, ipatt, isatt);
    } else if (iersvr >= 1 && iersvr <= 7) {
        set_tables_for(iersvr, ipatt, isatt);
        if (iersvr == 3) set_tables_for(6, ipatt, isatt);
        if (iersvr == 4) set_tables_for(7, ipatt, isatt);
    }
}

int ERR_TAKE_PENDING() {
    ensure_init();
    int r = 0;
    if (g_state.pending6 != 0) {
        r = g_state.stop[6];
        g_state.pending6 = 0;
    }
    if (g_state.pending7 != 0) {
        r = g_state.stop[7];
        g_state.pending7 = 0;
    }
    return r;
}

void ERR_PRINT() {
    ensure_init();
    ErrorState& s = g_state;
    if (s.message_length <= 0) return;
    int unit = 6;
    UMACH(3, unit);  // every unit of the library is the console
    std::ostream& os = numlib_console();
    const int L = s.level;
    const std::string msg(s.message.data(), static_cast<std::size_t>(s.message_length));
    std::string prefix(1, ' ');
    prefix.append(std::to_string(s.code[L])).append(" from ").append(shown_name(s.names[L], true));
    const std::size_t lim = prefix.size() < 59 ? 59 - prefix.size() : 1;
    const std::size_t n = msg.size();

    // First line: up to 59 characters of prefix and message after the word.
    std::size_t first_end;  // end of the text on the first line
    std::size_t next;       // where the next line starts
    bool blank_break = false;
    std::size_t slash = msg.find("%/");
    if (slash != std::string::npos && slash + 1 < lim) {
        first_end = slash;
        next = slash + 2;
    } else if (n > lim) {
        std::size_t b = msg.rfind(' ', lim - 1);
        if (b == std::string::npos) {
            first_end = next = lim;
        } else {
            first_end = next = b;
            blank_break = true;
        }
    } else {
        first_end = next = n;
    }
    os << '\n' << " *** " << word_of(s.type[L]) << " ERROR" << prefix << msg.substr(0, first_end) << '\n';

    // Continuation lines of at most 64 characters.
    while (next < n) {
        if (blank_break && msg[next] == ' ') {
            ++next;
            if (next >= n) break;
        }
        blank_break = false;
        std::size_t end;
        std::size_t after;
        slash = msg.find("%/", next);
        if (slash != std::string::npos && slash - next <= 64) {
            end = slash;
            after = slash + 2;
        } else if (n - next <= 64) {
            end = after = n;
        } else {
            std::size_t b = msg.rfind(' ', next + 63);
            if (b != std::string::npos && b >= next) {
                end = after = b + 1;
                blank_break = true;
            } else {
                end = after = next + 64;
            }
        }
        os << " *** " << std::string(9, ' ') << msg.substr(next, end - next) << '\n';
        next = after;
    }
    s.message_length = 0;
    clear_keys();

    if (L > 2) {
        write_fixed(os,
                    "(5X,'Here is a traceback of subprogram calls',' in reverse order:',/,5X,'Routine name      "
                    "         ',' ','    Error type  Error code',/,5X,'------------','  ','              ','    "
                    "----------  ----------')");
        for (int l = L; l >= 1; --l) {
            const char* layout = l > 2 ? "(5X,A32,I6,6X,I6,4X,'(Called internally)')" : "(5X,A32,I6,6X,I6)";
            write_fixed(os, layout, {shown_name(s.names[l], false), s.type[l], s.code[l]});
        }
    }
}

void ARG_RANGE_CHECK(int value, std::string_view name, int lower, int upper, int& check) {
    ensure_init();
    if (upper < lower) {
        if (value < lower) {
            MSG_SETL(1, name);
            MSG_SETI(1, value);
            MSG_SETI(2, lower);
            E1MES(5, check, "%(L1) = %(I1).  %(L1) must be greater than or equal to %(I2).");
        }
    } else if (value < lower || value > upper) {
        MSG_SETL(1, name);
        MSG_SETI(1, value);
        MSG_SETI(2, lower);
        MSG_SETI(3, upper);
        E1MES(5, check,
              "%(L1) = %(I1).  %(L1) must be greater than or equal to %(I2) and less than or equal to %(I3).");
    }
    ++check;
}

void ARG_ORDER_CHECK(int a, std::string_view name_a, int b, std::string_view name_b, int& check) {
    ensure_init();
    if (b < a) {
        MSG_SETL(1, name_a);
        MSG_SETI(1, a);
        MSG_SETL(2, name_b);
        MSG_SETI(2, b);
        E1MES(5, check, "%(L1) = %(I1) and %(L2) = %(I2).  %(L1) must be less than or equal to %(L2).");
    }
    ++check;
}

void ARG_DIM_CHECK(int lower, int a, std::string_view name_a, int b, std::string_view name_b, int& check) {
    if (!name_a.empty() && name_a[0] == '*') {
        name_a.remove_prefix(1);
        ++check;
    } else {
        // Only the lower bound: an upper bound below it.
        if (lower > INT32_MIN) {
            ARG_RANGE_CHECK(a, name_a, lower, lower - 1, check);
        } else {
            ++check;
        }
    }
    ARG_RANGE_CHECK(b, name_b, 1, 0, check);
    if (b >= 1) {
        ARG_ORDER_CHECK(a, name_a, b, name_b, check);
    } else {
        ++check;
    }
}

}  // namespace vorm

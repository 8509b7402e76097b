#include "common/textio.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <stdexcept>

namespace vorm {

// ---- values ----------------------------------------------------------------

long long Val::as_int() const {
    if (kind_ != Kind::Int) throw std::invalid_argument("integer edit descriptor given a value that is not an integer");
    return i_;
}

double Val::as_real() const {
    if (kind_ == Kind::Real) return d_;
    if (kind_ == Kind::Int) return static_cast<double>(i_);
    throw std::invalid_argument("real edit descriptor given a text");
}

// ---- layouts -----------------------------------------------------------------

struct RecordFormat::Node {
    enum class K { Lit, I, F, E, A, L, X, T, TL, TR, Slash, Colon, Scale } k = K::Lit;
    int w = 0;  // field width (-1: none given, for A)
    int d = 0;  // digits after the point; minimum digits for I (-1: none)
    int e = 0;  // exponent digits for E/D (0: default)
    char letter = 'E';
    std::string text;
};
using Node = RecordFormat::Node;

Node node(Node::K k) {
    Node n;
    n.k = k;
    return n;
}

namespace {

// Bounds on a layout, checked while it is parsed, so that a format given at
// run time can neither exhaust memory or the stack nor move a column counter
// past what it can hold: descriptors after every repeat count is expanded,
// groups open at once, and the column a data format can reach (far beyond any
// real record, far below the overflow of a counter).
constexpr std::size_t kMaxExpanded = 100000;
constexpr int kMaxDepth = 100;
constexpr long long kMaxColumn = 1000000000;

struct Flat {
    std::vector<Node> nodes;
    std::size_t reversion = 0;  // start of the last top-level group
};

class LayoutParser {
public:
    explicit LayoutParser(std::string_view s) : s_(s) {}

    bool parse(Flat& out, std::string* why) {
        skip_blanks();
        if (!eat('(')) return fail(why, "the format must begin with '('");
        depth_ = 1;
        // Whatever follows the closing ')' is no part of the format.
        return parse_list(out.nodes, true, out.reversion, why);
    }

private:
    std::string_view s_;
    std::size_t p_ = 0;
    int depth_ = 0;

    static bool fail(std::string* why, const char* msg) {
        if (why) *why = msg;
        return false;
    }
    void skip_blanks() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t')) ++p_;
    }
    bool eat(char c) {
        skip_blanks();
        if (p_ < s_.size() && s_[p_] == c) {
            ++p_;
            return true;
        }
        return false;
    }
    char peek_upper() {
        skip_blanks();
        if (p_ >= s_.size()) return '\0';
        char c = s_[p_];
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    bool number(int& v) {
        skip_blanks();
        std::size_t b = p_;
        long long acc = 0;
        while (p_ < s_.size() && s_[p_] >= '0' && s_[p_] <= '9') {
            acc = acc * 10 + (s_[p_] - '0');
            if (acc > 1000000) return false;
            ++p_;
        }
        if (p_ == b) return false;
        v = static_cast<int>(acc);
        return true;
    }

    // Appends `times` copies of part, unless that would pass the expanded size.
    static bool append(std::vector<Node>& out, const std::vector<Node>& part, int times, std::string* why) {
        if (static_cast<std::size_t>(times) * part.size() + out.size() > kMaxExpanded)
            return fail(why, "format too long");
        for (int t = 0; t < times; ++t) out.insert(out.end(), part.begin(), part.end());
        return true;
    }

    // Parses up to and including the closing ')'.
    bool parse_list(std::vector<Node>& out, bool top, std::size_t& reversion, std::string* why) {
        for (;;) {
            skip_blanks();
            if (p_ >= s_.size()) return fail(why, "missing ')'");
            char c = s_[p_];
            if (c == ')') {
                ++p_;
                return true;
            }
            if (c == ',') {
                ++p_;
                continue;
            }
            if (!parse_item(out, top, reversion, why)) return false;
            if (out.size() > kMaxExpanded) return fail(why, "format too long");
        }
    }

    bool parse_item(std::vector<Node>& out, bool top, std::size_t& reversion, std::string* why) {
        char c = s_[p_];
        if (c == '\'' || c == '"') {
            ++p_;
            Node n = node(Node::K::Lit);
            for (;;) {
                if (p_ >= s_.size()) return fail(why, "unterminated text");
                if (s_[p_] == c) {
                    if (p_ + 1 < s_.size() && s_[p_ + 1] == c) {
                        n.text += c;
                        p_ += 2;
                        continue;
                    }
                    ++p_;
                    break;
                }
                n.text += s_[p_++];
            }
            out.push_back(n);
            return true;
        }
        int repeat = 1;
        bool has_repeat = false;
        bool negative = false;
        if (c == '-' || c == '+') {
            negative = c == '-';
            ++p_;
            if (!number(repeat)) return fail(why, "sign without a number");
            if (peek_upper() != 'P') return fail(why, "signed number must be a scale factor");
            has_repeat = true;
        } else if (c >= '0' && c <= '9') {
            if (!number(repeat)) return fail(why, "bad number");
            has_repeat = true;
        }
        char u = peek_upper();
        if (u == '(') {
            ++p_;
            if (++depth_ > kMaxDepth) return fail(why, "groups nested too deeply");
            std::vector<Node> inner;
            std::size_t inner_rev = 0;
            if (!parse_list(inner, false, inner_rev, why)) return false;
            --depth_;
            if (top) reversion = out.size();
            return append(out, inner, repeat, why);
        }
        if (u == 'P') {
            ++p_;
            if (!has_repeat) return fail(why, "P without a scale factor");
            Node n = node(Node::K::Scale);
            n.w = negative ? -repeat : repeat;
            out.push_back(n);
            return true;
        }
        if (u == 'X') {
            ++p_;
            Node n = node(Node::K::X);
            n.w = repeat;
            out.push_back(n);
            return true;
        }
        if (u == '/') {
            ++p_;
            return append(out, {node(Node::K::Slash)}, repeat, why);
        }
        if (u == ':') {
            ++p_;
            out.push_back(node(Node::K::Colon));
            return true;
        }
        if (u == 'T') {
            ++p_;
            if (has_repeat) return fail(why, "repeat count before T");
            char v = peek_upper();
            Node n = node(Node::K::T);
            if (v == 'L' || v == 'R') {
                ++p_;
                n.k = v == 'L' ? Node::K::TL : Node::K::TR;
            }
            if (!number(n.w)) return fail(why, "T needs a column");
            if (n.k == Node::K::T && n.w < 1) return fail(why, "T column must be at least 1");
            out.push_back(n);
            return true;
        }
        Node n;
        switch (u) {
            case 'I':
                n.k = Node::K::I;
                break;
            case 'F':
                n.k = Node::K::F;
                break;
            case 'E':
            case 'D':
                n.k = Node::K::E;
                n.letter = u;
                break;
            case 'A':
                n.k = Node::K::A;
                break;
            case 'L':
                n.k = Node::K::L;
                break;
            default:
                return fail(why, "unknown edit descriptor");
        }
        ++p_;
        n.w = -1;
        n.d = -1;
        skip_blanks();
        if (p_ < s_.size() && s_[p_] >= '0' && s_[p_] <= '9') number(n.w);
        if (n.k != Node::K::A && n.w < 0) return fail(why, "edit descriptor needs a width");
        if (eat('.')) {
            if (!number(n.d)) return fail(why, "bad digits after '.'");
        }
        if (n.k == Node::K::F || n.k == Node::K::E) {
            if (n.d < 0) return fail(why, "F, E and D need .d");
        }
        if (n.k == Node::K::E && peek_upper() == 'E') {
            ++p_;
            if (!number(n.e) || n.e > 9) return fail(why, "bad exponent width");
        }
        return append(out, {n}, repeat, why);
    }
};

// Parsed at every use: a layout is short, and a parse kept between calls would
// be state outside the run.
Flat layout(std::string_view text) {
    Flat f;
    std::string why;
    if (!LayoutParser(text).parse(f, &why)) throw std::invalid_argument("bad layout " + std::string(text) + ": " + why);
    return f;
}

std::string stars(int w) { return std::string(static_cast<std::size_t>(std::max(w, 0)), '*'); }

std::string fit(std::string s, int w) {
    if (w <= 0) return s;
    if (static_cast<int>(s.size()) > w) return stars(w);
    return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

std::string edit_I(long long v, int w, int m) {
    unsigned long long mag = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    std::string digits = std::to_string(mag);
    if (m == 0 && v == 0) digits.clear();
    if (m > 0 && static_cast<int>(digits.size()) < m)
        digits.insert(0, static_cast<std::size_t>(m) - digits.size(), '0');
    if (v < 0) digits.insert(0, 1, '-');
    return fit(digits, w);
}

std::string edit_F(double x, int w, int d, int scale) {
    if (!std::isfinite(x)) return stars(w);
    if (scale != 0) x *= std::pow(10.0, scale);
    char buf[400];
    std::snprintf(buf, sizeof buf, d == 0 ? "%#.*f" : "%.*f", d, x);
    std::string s(buf);
    if (w > 0 && static_cast<int>(s.size()) > w) {
        if (s.rfind("0.", 0) == 0)
            s.erase(0, 1);
        else if (s.rfind("-0.", 0) == 0)
            s.erase(1, 1);
    }
    return fit(s, w);
}

std::string edit_E(double x, int w, int d, int e, int scale, char letter) {
    if (!std::isfinite(x)) return stars(w);
    // Significant digits shown: d+1 with a positive scale factor, d+k otherwise.
    int nsig = scale > 0 ? d + 1 : d + scale;
    if (nsig < 1 || (scale > 0 && scale >= d + 2)) return stars(w);
    std::string digits;
    int exp10 = 0;  // value = 0.digits * 10^exp10
    if (x == 0.0) {
        digits.assign(static_cast<std::size_t>(nsig), '0');
        exp10 = 0;
    } else {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*E", nsig - 1, std::fabs(x));
        std::string s(buf);
        auto epos = s.find('E');
        for (std::size_t k = 0; k < epos; ++k)
            if (s[k] != '.') digits += s[k];
        exp10 = std::atoi(s.c_str() + epos + 1) + 1;
    }
    int shown_exp = x == 0.0 ? 0 : exp10 - scale;
    std::string mant;
    if (scale > 0) {
        mant = digits.substr(0, static_cast<std::size_t>(scale)) + "." + digits.substr(static_cast<std::size_t>(scale));
    } else {
        mant = "0." + std::string(static_cast<std::size_t>(-scale), '0') + digits;
    }
    std::string ex;
    int ae = std::abs(shown_exp);
    char sign = shown_exp < 0 ? '-' : '+';
    char buf[32];
    if (e > 0) {
        std::snprintf(buf, sizeof buf, "%0*d", std::min(e, 9), std::min(ae, 999));
        if (static_cast<int>(std::string(buf).size()) > e) return stars(w);
        ex = std::string(1, letter) + sign + buf;
    } else if (ae <= 99) {
        std::snprintf(buf, sizeof buf, "%02d", ae);
        ex = std::string(1, letter) + sign + buf;
    } else if (ae <= 999) {
        std::snprintf(buf, sizeof buf, "%03d", ae);
        ex = std::string(1, sign) + buf;
    } else {
        return stars(w);
    }
    std::string s = (std::signbit(x) && x != 0.0 ? "-" : "") + mant + ex;
    if (w > 0 && static_cast<int>(s.size()) > w && scale <= 0) {
        auto z = s.find("0.");
        if (z != std::string::npos && z <= 1) s.erase(z, 1);
    }
    return fit(s, w);
}

std::string edit_A(const std::string& s, int w) {
    if (w < 0) return s;
    if (static_cast<int>(s.size()) >= w) return s.substr(0, static_cast<std::size_t>(w));
    return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

bool is_data(Node::K k) {
    return k == Node::K::I || k == Node::K::F || k == Node::K::E || k == Node::K::A || k == Node::K::L;
}

void put(std::string& line, int pos, const std::string& text) {
    if (static_cast<int>(line.size()) < pos) line.resize(static_cast<std::size_t>(pos), ' ');
    std::size_t p = static_cast<std::size_t>(pos);
    if (line.size() < p + text.size()) line.resize(p + text.size(), ' ');
    line.replace(p, text.size(), text);
}

}  // namespace

// ---- fixed-format output ---------------------------------------------------

std::vector<std::string> format_fixed_lines(std::string_view text, const std::vector<Val>& values) {
    const Flat f = layout(text);
    std::vector<std::string> lines;
    std::string cur;
    int pos = 0;
    int scale = 0;
    std::size_t vi = 0;
    std::size_t i = 0;
    bool consumed_this_pass = false;
    for (;;) {
        if (i == f.nodes.size()) {
            if (vi >= values.size()) break;
            if (!consumed_this_pass) throw std::invalid_argument("layout without data descriptors given values");
            lines.push_back(cur);
            cur.clear();
            pos = 0;
            i = f.reversion;
            consumed_this_pass = false;
            continue;
        }
        const Node& n = f.nodes[i++];
        if (is_data(n.k) && vi >= values.size()) break;
        switch (n.k) {
            case Node::K::Lit:
                put(cur, pos, n.text);
                pos += static_cast<int>(n.text.size());
                break;
            case Node::K::I: {
                std::string s = edit_I(values[vi++].as_int(), n.w, n.d);
                put(cur, pos, s);
                pos += static_cast<int>(s.size());
                consumed_this_pass = true;
                break;
            }
            case Node::K::F: {
                std::string s = edit_F(values[vi++].as_real(), n.w, n.d, scale);
                put(cur, pos, s);
                pos += static_cast<int>(s.size());
                consumed_this_pass = true;
                break;
            }
            case Node::K::E: {
                std::string s = edit_E(values[vi++].as_real(), n.w, n.d, n.e, scale, n.letter);
                put(cur, pos, s);
                pos += static_cast<int>(s.size());
                consumed_this_pass = true;
                break;
            }
            case Node::K::A: {
                const Val& v = values[vi++];
                if (v.kind() != Val::Kind::Text) throw std::invalid_argument("A edit descriptor given a number");
                std::string s = edit_A(v.text(), n.w);
                put(cur, pos, s);
                pos += static_cast<int>(s.size());
                consumed_this_pass = true;
                break;
            }
            case Node::K::L: {
                std::string s = fit(values[vi++].as_int() != 0 ? "T" : "F", n.w);
                put(cur, pos, s);
                pos += static_cast<int>(s.size());
                consumed_this_pass = true;
                break;
            }
            case Node::K::X:
            case Node::K::TR:
                pos += n.w;
                break;
            case Node::K::T:
                pos = n.w - 1;
                break;
            case Node::K::TL:
                pos = std::max(0, pos - n.w);
                break;
            case Node::K::Slash:
                lines.push_back(cur);
                cur.clear();
                pos = 0;
                break;
            case Node::K::Colon:
                if (vi >= values.size()) i = f.nodes.size();
                break;
            case Node::K::Scale:
                scale = n.w;
                break;
        }
        if (n.k == Node::K::Colon && vi >= values.size()) break;
    }
    lines.push_back(cur);
    return lines;
}

std::string format_fixed(std::string_view text, const std::vector<Val>& values) {
    auto lines = format_fixed_lines(text, values);
    std::string out;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k) out += '\n';
        out += lines[k];
    }
    return out;
}

void write_fixed(std::ostream& os, std::string_view text, const std::vector<Val>& values) {
    for (const auto& l : format_fixed_lines(text, values)) os << l << '\n';
}

std::string int_in_full(long long v, int w) {
    const std::string field = edit_I(v, w, -1);
    return field.find('*') == std::string::npos ? field : edit_I(v, 0, -1);
}

// ---- free-format output ----------------------------------------------------

std::string format_free_real(double x) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "Infinity" : "-Infinity";
    if (x == 0.0) return "0.0";
    double a = std::fabs(x);
    char buf[64];
    if (a >= 1.0e-3 && a < 1.0e10) {
        // Ten significant digits in plain positional form, trailing zeros trimmed.
        int lead = static_cast<int>(std::floor(std::log10(a))) + 1;
        int decimals = std::max(1, 10 - lead);
        std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
        std::string s(buf);
        while (s.size() > 2 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
        return s;
    }
    std::snprintf(buf, sizeof buf, "%.9E", x);
    return buf;
}

std::string format_free(const std::vector<Val>& items) {
    std::string out = " ";
    for (const auto& v : items) {
        switch (v.kind()) {
            case Val::Kind::Text:
                out += v.text();
                break;
            case Val::Kind::Int:
                out += std::to_string(v.as_int());
                break;
            case Val::Kind::Real:
                out += format_free_real(v.as_real());
                break;
        }
    }
    return out;
}

void write_free(std::ostream& os, const std::vector<Val>& items) { os << format_free(items) << '\n'; }

void write_empty_line(std::ostream& os) { os << '\n'; }

// ---- line input ------------------------------------------------------------

bool LineReader::next(std::string& line) {
    line.clear();
    std::istream::sentry ok(in_, true);
    if (!ok) return false;
    std::streambuf* buf = in_.rdbuf();
    for (;;) {
        int c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            // Every character before the end went into the line: an empty line
            // here means nothing was left to read.
            const bool nothing = line.empty();
            in_.setstate(nothing ? std::ios::eofbit | std::ios::failbit : std::ios::eofbit);
            if (nothing) return false;
            break;
        }
        if (c == '\n') break;
        // A device or a file without line ends would otherwise fill memory.
        if (line.size() == kMaxLineLength) {
            too_long_ = true;
            in_.setstate(std::ios::failbit);
            return false;
        }
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++lines_;
    return true;
}

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The first list-directed value of a line, or empty when there is none.
std::string_view first_token(std::string_view line, bool& none) {
    std::size_t b = 0;
    while (b < line.size() && is_blank(line[b])) ++b;
    none = b == line.size();
    std::size_t e = b;
    while (e < line.size() && !is_blank(line[e]) && line[e] != ',' && line[e] != '/') ++e;
    return line.substr(b, e - b);
}

// Whether a number in the form [-]digits[.digits][E[sign]digits], with at
// least one non-zero digit, is below 1 in magnitude: out of the range of a
// double, that tells an underflow from an overflow.
bool below_one(std::string_view s) {
    std::size_t e = s.find('E');
    std::string_view mant = s.substr(0, e);
    long long scale = 0;  // decimal exponent of the first non-zero digit, plus 1
    bool seen_point = false;
    bool found = false;
    for (char c : mant) {
        if (c == '.') {
            seen_point = true;
        } else if (c >= '0' && c <= '9') {
            if (c != '0') found = true;
            if (found && !seen_point) ++scale;
            if (!found && seen_point) --scale;
        }
        if (found && seen_point) break;
    }
    if (!found) return true;
    long long exp = 0;
    bool negative = false;
    if (e != std::string_view::npos) {
        std::size_t k = e + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
        for (; k < s.size() && exp < 1000000000000LL; ++k) exp = exp * 10 + (s[k] - '0');
    }
    return scale + (negative ? -exp : exp) <= 0;
}

// The double of a number in the form below_one() takes, all of s; a number too
// small for a double reads as zero of its sign, one too large is refused.
// v is left alone when s is refused.
bool decimal_value(const std::string& s, double& v) {
    double x = 0.0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), x);
    if (r.ptr != s.data() + s.size()) return false;
    if (r.ec == std::errc::result_out_of_range && below_one(s))
        x = s[0] == '-' ? -0.0 : 0.0;
    else if (r.ec != std::errc() || !std::isfinite(x))
        return false;
    v = x;
    return true;
}

bool parse_int_text(std::string_view t, long long& v) {
    if (t.empty()) return false;
    std::size_t b = (t[0] == '+') ? 1 : 0;
    if (b == t.size()) return false;
    if (t[b] == '-' && b == 1) return false;
    auto r = std::from_chars(t.data() + b, t.data() + t.size(), v);
    return r.ec == std::errc() && r.ptr == t.data() + t.size();
}

}  // namespace

FreeValue parse_free_int(std::string_view line, long long& value) {
    bool none = false;
    std::string_view t = first_token(line, none);
    if (none) return FreeValue::NoValue;
    return parse_int_text(t, value) ? FreeValue::Ok : FreeValue::Error;
}

FreeValue parse_free_real(std::string_view line, double& value) {
    bool none = false;
    std::string_view t = first_token(line, none);
    if (none) return FreeValue::NoValue;
    // Fortran forms: [sign] digits [. digits] [(E|D|Q) [sign] digits]; at least one digit.
    std::string s;
    std::size_t k = 0;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) {
        if (t[k] == '-') s += '-';
        ++k;
    }
    int mant_digits = 0;
    while (k < t.size() && t[k] >= '0' && t[k] <= '9') s += t[k++], ++mant_digits;
    if (k < t.size() && t[k] == '.') {
        s += t[k++];
        while (k < t.size() && t[k] >= '0' && t[k] <= '9') s += t[k++], ++mant_digits;
    }
    if (mant_digits == 0) return FreeValue::Error;
    if (k < t.size()) {
        char c = t[k];
        if (c != 'E' && c != 'e' && c != 'D' && c != 'd' && c != 'Q' && c != 'q') return FreeValue::Error;
        s += 'E';
        ++k;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) s += t[k++];
        int ed = 0;
        while (k < t.size() && t[k] >= '0' && t[k] <= '9') s += t[k++], ++ed;
        if (ed == 0 || k != t.size()) return FreeValue::Error;
    }
    return decimal_value(s, value) ? FreeValue::Ok : FreeValue::Error;
}

ReadStatus read_int_record(LineReader& in, long long& value) {
    std::string line;
    while (in.next(line)) {
        switch (parse_free_int(line, value)) {
            case FreeValue::Ok:
                return ReadStatus::Ok;
            case FreeValue::Error:
                return ReadStatus::Error;
            case FreeValue::NoValue:
                break;
        }
    }
    return ReadStatus::End;
}

ReadStatus read_real_record(LineReader& in, double& value) {
    std::string line;
    while (in.next(line)) {
        switch (parse_free_real(line, value)) {
            case FreeValue::Ok:
                return ReadStatus::Ok;
            case FreeValue::Error:
                return ReadStatus::Error;
            case FreeValue::NoValue:
                break;
        }
    }
    return ReadStatus::End;
}

ReadStatus read_letter_record(LineReader& in, char& letter) {
    std::string line;
    if (!in.next(line)) return ReadStatus::End;
    letter = line.empty() ? ' ' : line[0];
    return ReadStatus::Ok;
}

ReadStatus read_text_record(LineReader& in, std::string& text) {
    if (!in.next(text)) return ReadStatus::End;
    return ReadStatus::Ok;
}

// ---- data-file record format -----------------------------------------------

RecordFormat::~RecordFormat() = default;

namespace {

// The column (from 0) after an I field or a positioning descriptor, as a record
// is read.
long long advance(const Node& n, long long pos) {
    switch (n.k) {
        case Node::K::I:
        case Node::K::X:
        case Node::K::TR:
            return pos + n.w;
        case Node::K::T:
            return n.w - 1;
        case Node::K::TL:
            return std::max(0LL, pos - n.w);
        case Node::K::Slash:
            return 0;
        default:
            return pos;
    }
}

}  // namespace

std::unique_ptr<RecordFormat> RecordFormat::parse(std::string_view text, std::string* why) {
    Flat f;
    std::string msg;
    if (!LayoutParser(text).parse(f, &msg)) {
        if (why) *why = msg;
        return nullptr;
    }
    for (const auto& n : f.nodes) {
        bool ok = n.k == Node::K::I || n.k == Node::K::X || n.k == Node::K::T || n.k == Node::K::TL ||
                  n.k == Node::K::TR || n.k == Node::K::Slash || n.k == Node::K::Colon;
        if (!ok) {
            if (why) *why = "only I, X, T, TL, TR and / can read a data record";
            return nullptr;
        }
        if (n.k == Node::K::I && n.w < 1) {
            if (why) *why = "an I field needs a width of at least 1";
            return nullptr;
        }
    }
    // A pass that starts again at the reversion point starts at column 1, which
    // can only lower every later position, so one walk finds the farthest.
    long long pos = 0;
    for (const auto& n : f.nodes) {
        pos = advance(n, pos);
        if (pos > kMaxColumn) {
            if (why) *why = "a column position beyond the longest record";
            return nullptr;
        }
    }
    std::unique_ptr<RecordFormat> r(new RecordFormat());
    r->nodes_ = std::move(f.nodes);
    r->reversion_ = f.reversion;
    return r;
}

namespace {

// The w columns from pos that are on the line: columns past its end are
// blanks, so they are never looked at, however wide the field.
std::string_view columns(std::string_view line, long long pos, int w) {
    if (pos >= static_cast<long long>(line.size())) return {};
    return line.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(w));
}

// An integer field under blank-null rules: blanks are ignored, an all-blank
// field is 0.
bool read_int_field(std::string_view field, std::int64_t& v) {
    std::string digits;
    for (char c : field)
        if (!is_blank(c)) digits += c;
    if (digits.empty()) {
        v = 0;
        return true;
    }
    long long x = 0;
    if (!parse_int_text(digits, x)) return false;
    v = x;
    return true;
}

// One record of `count` fields through a layout's nodes, with a new line at
// each '/' and at each reversion; `field(n, text, w, k, scale)` reads field k
// of width w from text, its columns that are on the line (false: the record
// cannot be read).
template <class Field>
ReadStatus walk_record(const std::vector<Node>& nodes, std::size_t reversion, LineReader& in, std::size_t count,
                       Field field, std::vector<FieldPlace>* places = nullptr) {
    std::string line;
    if (places) places->clear();
    auto blame_line = [places](int line_number) {
        if (places) places->push_back({line_number, 0});
        return ReadStatus::Error;
    };
    // A line too long to hold is an unreadable record, not the end of the data.
    auto next_line = [&in, &line, &blame_line] {
        if (in.next(line)) return ReadStatus::Ok;
        return in.too_long() ? blame_line(in.lines_read() + 1) : ReadStatus::End;
    };
    if (ReadStatus s = next_line(); s != ReadStatus::Ok) return s;
    long long pos = 0;
    int scale = 0;
    std::size_t vi = 0;
    std::size_t i = 0;
    bool consumed_this_pass = false;
    for (;;) {
        if (i == nodes.size()) {
            if (vi >= count) return ReadStatus::Ok;
            if (!consumed_this_pass) return blame_line(in.lines_read());
            if (ReadStatus s = next_line(); s != ReadStatus::Ok) return s;
            pos = 0;
            i = reversion;
            consumed_this_pass = false;
            continue;
        }
        const Node& n = nodes[i++];
        if (is_data(n.k)) {
            if (vi >= count) return ReadStatus::Ok;
            // An A field without a width takes the rest of the line.
            const int w = n.w >= 0 ? n.w : static_cast<int>(std::max(0LL, static_cast<long long>(line.size()) - pos));
            if (places) places->push_back({in.lines_read(), pos + 1});
            if (!field(n, columns(line, pos, w), w, vi++, scale)) return ReadStatus::Error;
            pos += w;
            consumed_this_pass = true;
            continue;
        }
        if (n.k == Node::K::Lit) pos += static_cast<long long>(n.text.size());
        if (n.k == Node::K::Scale) scale = n.w;
        if (n.k == Node::K::Colon && vi >= count) return ReadStatus::Ok;
        if (n.k == Node::K::Slash)
            if (ReadStatus s = next_line(); s != ReadStatus::Ok) return s;
        pos = advance(n, pos);
    }
}

}  // namespace

ReadStatus RecordFormat::read(LineReader& in, int count, std::vector<std::int64_t>& values,
                              std::vector<FieldPlace>* places) const {
    values.assign(static_cast<std::size_t>(std::max(count, 0)), 0);
    // parse() lets no data descriptor but I into a data format.
    return walk_record(
        nodes_, reversion_, in, values.size(),
        [&values](const Node& n, std::string_view text, int, std::size_t k, int) {
            return n.k == Node::K::I && read_int_field(text, values[k]);
        },
        places);
}

// ---- fixed-format input ----------------------------------------------------

namespace {

// A real field under blank-null rules: [sign] digits [. digits] [exponent],
// the exponent a letter E, D or Q with an optional sign, or a sign alone.
bool read_real_field(std::string_view field, int d, int scale, double& v) {
    std::string t;
    for (char c : field)
        if (!is_blank(c)) t += c;
    if (t.empty()) {
        v = 0.0;
        return true;
    }
    std::string s;
    std::size_t k = 0;
    if (t[k] == '+' || t[k] == '-') s += t[k++] == '-' ? "-" : "";
    int digits = 0;
    bool point = false;
    while (k < t.size() && t[k] >= '0' && t[k] <= '9') s += t[k++], ++digits;
    if (k < t.size() && t[k] == '.') {
        point = true;
        s += t[k++];
        while (k < t.size() && t[k] >= '0' && t[k] <= '9') s += t[k++], ++digits;
    }
    if (digits == 0) return false;
    long long exp = 0;
    bool has_exp = false;
    if (k < t.size()) {
        const char c = t[k];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q')
            ++k;
        else if (c != '+' && c != '-')
            return false;
        bool negative = false;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) negative = t[k++] == '-';
        int exp_digits = 0;
        for (; k < t.size() && t[k] >= '0' && t[k] <= '9'; ++k, ++exp_digits)
            if (exp < 1000000000LL) exp = exp * 10 + (t[k] - '0');
        if (exp_digits == 0 || k != t.size()) return false;
        has_exp = true;
        if (negative) exp = -exp;
    }
    if (!point) exp -= d;
    if (!has_exp) exp -= scale;
    s += 'E' + std::to_string(exp);
    return decimal_value(s, v);
}

bool read_logical_field(std::string_view field, long long& v) {
    std::size_t k = 0;
    while (k < field.size() && is_blank(field[k])) ++k;
    if (k < field.size() && field[k] == '.') ++k;
    if (k == field.size()) return false;
    const char c = field[k];
    if (c != 'T' && c != 't' && c != 'F' && c != 'f') return false;
    v = (c == 'T' || c == 't') ? 1 : 0;
    return true;
}

}  // namespace

ReadStatus read_fixed(LineReader& in, std::string_view text, int count, std::vector<FixedField>& fields) {
    const Flat f = layout(text);
    fields.assign(static_cast<std::size_t>(std::max(count, 0)), FixedField{});
    return walk_record(f.nodes, f.reversion, in, fields.size(),
                       [&fields](const Node& n, std::string_view field, int w, std::size_t k, int scale) {
                           FixedField& out = fields[k];
                           std::int64_t v = 0;
                           switch (n.k) {
                               case Node::K::I:
                                   out.ok = read_int_field(field, v);
                                   out.integer = v;
                                   break;
                               case Node::K::F:
                               case Node::K::E:
                                   out.ok = read_real_field(field, n.d, scale, out.real);
                                   break;
                               case Node::K::A:
                                   out.text = std::string(field) +
                                              std::string(static_cast<std::size_t>(w) - field.size(), ' ');
                                   out.ok = true;
                                   break;
                               default:
                                   out.ok = read_logical_field(field, out.integer);
                                   break;
                           }
                           return true;
                       });
}

}  // namespace vorm

// Fixed-capacity arrays with the index bounds the engine's formulas use.
//
// Every array has declared lower and upper bounds per dimension (items and
// respondents from 1, categories and thresholds from 0) and stores the first
// index fastest, so a column of RESP (all respondents of one item) or a row of
// TAU (one threshold of every item) is contiguous exactly as the stages expect.
// Bounds are checked in debug and sanitizer builds only: these accessors sit in
// the innermost loops of the estimation.
#pragma once

#include <cassert>
#include <cstddef>

namespace vorm {

#ifdef NDEBUG
#define VORM_INDEX_CHECK(cond) ((void)0)
#else
#define VORM_INDEX_CHECK(cond) assert(cond)
#endif

template <class T, int L1, int U1>
struct Arr1 {
    static constexpr int lo = L1;
    static constexpr int hi = U1;
    static constexpr int extent = U1 - L1 + 1;
    T v[extent]{};

    T& operator()(int i) {
        VORM_INDEX_CHECK(i >= L1 && i <= U1);
        return v[i - L1];
    }
    const T& operator()(int i) const {
        VORM_INDEX_CHECK(i >= L1 && i <= U1);
        return v[i - L1];
    }
    // Pointer to element lo, for routines that take "a real array" argument.
    T* data() { return v; }
    const T* data() const { return v; }
    void fill(const T& x) {
        for (auto& e : v) e = x;
    }
};

template <class T, int L1, int U1, int L2, int U2>
struct Arr2 {
    static constexpr int n1 = U1 - L1 + 1;
    static constexpr int n2 = U2 - L2 + 1;
    T v[n1 * n2]{};

    T& operator()(int i, int j) {
        VORM_INDEX_CHECK(i >= L1 && i <= U1 && j >= L2 && j <= U2);
        return v[(i - L1) + (j - L2) * n1];
    }
    const T& operator()(int i, int j) const {
        VORM_INDEX_CHECK(i >= L1 && i <= U1 && j >= L2 && j <= U2);
        return v[(i - L1) + (j - L2) * n1];
    }
    // Start of the contiguous run of first-index elements for second index j.
    T* column(int j) { return v + (j - L2) * n1; }
    const T* column(int j) const { return v + (j - L2) * n1; }
    T* data() { return v; }
    const T* data() const { return v; }
    void fill(const T& x) {
        for (auto& e : v) e = x;
    }
};

template <class T, int L1, int U1, int L2, int U2, int L3, int U3>
struct Arr3 {
    static constexpr int n1 = U1 - L1 + 1;
    static constexpr int n2 = U2 - L2 + 1;
    static constexpr int n3 = U3 - L3 + 1;
    T v[n1 * n2 * n3]{};

    T& operator()(int i, int j, int k) {
        VORM_INDEX_CHECK(i >= L1 && i <= U1 && j >= L2 && j <= U2 && k >= L3 && k <= U3);
        return v[(i - L1) + n1 * ((j - L2) + n2 * (k - L3))];
    }
    const T& operator()(int i, int j, int k) const {
        VORM_INDEX_CHECK(i >= L1 && i <= U1 && j >= L2 && j <= U2 && k >= L3 && k <= U3);
        return v[(i - L1) + n1 * ((j - L2) + n2 * (k - L3))];
    }
    T* data() { return v; }
    const T* data() const { return v; }
    void fill(const T& x) {
        for (auto& e : v) e = x;
    }
};

template <class T, int L1, int U1, int L2, int U2, int L3, int U3, int L4, int U4>
struct Arr4 {
    static constexpr int n1 = U1 - L1 + 1;
    static constexpr int n2 = U2 - L2 + 1;
    static constexpr int n3 = U3 - L3 + 1;
    static constexpr int n4 = U4 - L4 + 1;
    T v[n1 * n2 * n3 * n4]{};

    T& operator()(int i, int j, int k, int l) {
        VORM_INDEX_CHECK(i >= L1 && i <= U1 && j >= L2 && j <= U2 && k >= L3 && k <= U3 && l >= L4 && l <= U4);
        return v[(i - L1) + n1 * ((j - L2) + n2 * ((k - L3) + n3 * (l - L4)))];
    }
    const T& operator()(int i, int j, int k, int l) const {
        VORM_INDEX_CHECK(i >= L1 && i <= U1 && j >= L2 && j <= U2 && k >= L3 && k <= U3 && l >= L4 && l <= U4);
        return v[(i - L1) + n1 * ((j - L2) + n2 * ((k - L3) + n3 * (l - L4)))];
    }
    void fill(const T& x) {
        for (auto& e : v) e = x;
    }
};

}  // namespace vorm

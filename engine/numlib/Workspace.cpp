#include "numlib/Workspace.h"

namespace vorm {

namespace {
double g_doubles[NUMLIB_WORKSPACE_DOUBLES];
int g_ints[NUMLIB_WORKSPACE_INTS];
long g_doubles_used = 0;
long g_ints_used = 0;

template <class T>
T* take(T* pool, long capacity, long& used, long n) {
    if (n < 0 || n > capacity - used) return nullptr;
    T* p = pool + used;
    used += n;
    return p;
}

template <class T>
void release(T* pool, long& used, T* p) {
    if (p == nullptr) return;
    const long at = p - pool;
    if (at >= 0 && at <= used) used = at;
}
}  // namespace

double* numlib_workspace_take_double(long n) { return take(g_doubles, NUMLIB_WORKSPACE_DOUBLES, g_doubles_used, n); }
int* numlib_workspace_take_int(long n) { return take(g_ints, NUMLIB_WORKSPACE_INTS, g_ints_used, n); }
void numlib_workspace_free_double(double* p) { release(g_doubles, g_doubles_used, p); }
void numlib_workspace_free_int(int* p) { release(g_ints, g_ints_used, p); }
long numlib_workspace_doubles_in_use() { return g_doubles_used; }
long numlib_workspace_ints_in_use() { return g_ints_used; }

}  // namespace vorm

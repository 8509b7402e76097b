// The store and the workspace are taken from zeroed memory and never
// constructed, so their zero bytes must be the state a constructor would give
// them: a member default other than zero would silently not be applied.
#include "driver/Workspace.h"

#include <cstddef>
#include <memory>

#include "common/Store.h"
#include "test_support.h"

namespace vorm {
namespace {

// The offset of the first byte that is not zero in a value-initialised T
// (which applies every member default), or sizeof(T) when there is none.
template <class T>
std::size_t first_nonzero_byte() {
    const auto object = std::make_unique<T>();
    const auto* bytes = reinterpret_cast<const unsigned char*>(object.get());
    std::size_t at = 0;
    while (at < sizeof(T) && bytes[at] == 0) ++at;
    return at;
}

TEST(WorkspaceTest, EveryDefaultOfTheStoreAndTheWorkspaceIsZeroBytes) {
    EXPECT_EQ(first_nonzero_byte<Store>(), sizeof(Store));
    EXPECT_EQ(first_nonzero_byte<Workspace>(), sizeof(Workspace));
}

}  // namespace
}  // namespace vorm

// Run-long tables taken from zeroed memory instead of being constructed.
//
// The store and the workspace have the capacity of the largest job (about
// 40 MB), of which a small job uses a small part.  Constructing them writes
// every byte, and every page written is a page the system maps in, whatever
// the job's size.  Memory fresh from the system is zero already and costs
// nothing until it is touched, so a type whose all-zero bytes are its start
// state is taken from one zeroed block as it is.  Such a type must need no
// constructor or destructor to be valid (trivially copyable: an object of it
// begins its life in the block as calloc leaves it), and a member whose
// initialiser is not zero must be written before it is read.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

namespace vorm {

template <class T>
class ZeroedBlock {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "a table taken from zeroed memory must not need a constructor or destructor");

public:
    ZeroedBlock() : raw_(std::calloc(1, sizeof(T) + alignof(T))) {
        if (raw_ == nullptr) throw std::bad_alloc();
        void* p = raw_;
        std::size_t space = sizeof(T) + alignof(T);
        obj_ = std::launder(static_cast<T*>(std::align(alignof(T), sizeof(T), p, space)));
    }
    ~ZeroedBlock() { std::free(raw_); }
    ZeroedBlock(const ZeroedBlock&) = delete;
    ZeroedBlock& operator=(const ZeroedBlock&) = delete;

    T& operator*() const { return *obj_; }
    T* operator->() const { return obj_; }

private:
    void* raw_;
    T* obj_;
};

}  // namespace vorm

// Storage for the big per-song arrays (decoded frames, waveform peaks). Large blocks
// come straight from mmap with transparent huge pages requested, so filling a 50 MB
// array costs a few dozen page faults instead of thousands; and growing the array
// leaves new elements uninitialised, since they are written right away.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace quillex {

template <class T> class LargeBufferAllocator {
  public:
    using value_type = T;
    // Below this, ordinary heap memory is cheaper.
    static constexpr std::size_t kMappedBytes = std::size_t{2} << 20;

    LargeBufferAllocator() = default;
    template <class U> LargeBufferAllocator(const LargeBufferAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kMappedBytes)
            return static_cast<T*>(::operator new(bytes));
        void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        madvise(p, bytes, MADV_HUGEPAGE);
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t n) noexcept {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kMappedBytes)
            ::operator delete(p);
        else
            munmap(p, bytes);
    }
    // Value-less construction (resize) leaves the element uninitialised.
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    friend bool operator==(const LargeBufferAllocator&, const LargeBufferAllocator&) {
        return true;
    }
};

template <class T> using LargeBuffer = std::vector<T, LargeBufferAllocator<T>>;

// Has the kernel map in the pages under [p, p + bytes) without writing to them (their
// contents do not change), so whoever writes there later does not stop for page faults
// and the kernel's clearing of new pages. Only whole pages inside the range are taken.
// Does nothing on kernels without MADV_POPULATE_WRITE (before Linux 5.14).
inline void prefaultPages(const void* p, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(p) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)p;
    (void)bytes;
#endif
}

} // namespace quillex

// Per-thread state of the library without exit-time destructors.
//
//     struct MyCache { std::wstring text; };            // any default-constructible type
//     MyCache& cache = perthread::get<MyCache>();       // this thread's instance, made on first use
//
// One TLS slot holds a plain pointer to the thread's block of values. The DLL
// frees a thread's block on DLL_THREAD_DETACH and every block on
// DLL_PROCESS_DETACH, so no thread ever runs a destructor registered with the
// C++ runtime (thread_local objects with destructors hang thread exit under
// the MinGW runtime). get() throws std::bad_alloc when memory runs out.
#pragma once

#include <new>

namespace quillon::perthread {

namespace detail {
using Destroy = void (*)(void*);
int newSlot();                                  // a fresh slot number for one type
void* find(int slot);                           // nullptr when not made yet in this thread
void store(int slot, void* value, Destroy destroy);  // takes ownership; throws bad_alloc
} // namespace detail

template <class T>
T& get()
{
    static const int slot = detail::newSlot();
    if (void* found = detail::find(slot)) return *static_cast<T*>(found);
    T* value = new T();
    try {
        detail::store(slot, value, [](void* p) { delete static_cast<T*>(p); });
    } catch (...) {
        delete value;
        throw;
    }
    return *value;
}

// Frees the calling thread's values (thread detach).
void releaseThread() noexcept;
// Frees every thread's values and the TLS slot (process detach).
void releaseAll() noexcept;
// How many threads hold values now (for tests).
int liveThreads() noexcept;

} // namespace quillon::perthread

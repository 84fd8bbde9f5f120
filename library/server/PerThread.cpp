#include "PerThread.h"

#include <windows.h>

#include <utility>

namespace quillon::perthread {
namespace {

constexpr int kSlots = 32;

struct Block {
    void* values[kSlots] = {};
    detail::Destroy destroy[kSlots] = {};
    Block* next = nullptr;
    Block* previous = nullptr;
};

// Plain globals only: nothing here has a destructor of its own.
SRWLOCK g_lock = SRWLOCK_INIT;
Block* g_blocks = nullptr;
DWORD g_index = TLS_OUT_OF_INDEXES;
LONG g_nextSlot = 0;
int g_live = 0;

// Allocated on first use, so the library works the same linked into a program.
DWORD tlsIndex()
{
    DWORD index = g_index;
    if (index != TLS_OUT_OF_INDEXES) return index;
    AcquireSRWLockExclusive(&g_lock);
    if (g_index == TLS_OUT_OF_INDEXES) g_index = TlsAlloc();
    index = g_index;
    ReleaseSRWLockExclusive(&g_lock);
    if (index == TLS_OUT_OF_INDEXES) throw std::bad_alloc();
    return index;
}

Block* current() noexcept
{
    return g_index == TLS_OUT_OF_INDEXES ? nullptr : static_cast<Block*>(TlsGetValue(g_index));
}

void unlink(Block* block)
{
    if (block->previous) block->previous->next = block->next;
    else g_blocks = block->next;
    if (block->next) block->next->previous = block->previous;
    --g_live;
}

void destroy(Block* block) noexcept
{
    for (int i = 0; i < kSlots; ++i)
        if (block->values[i]) block->destroy[i](block->values[i]);
    delete block;
}

} // namespace

namespace detail {

int newSlot()
{
    LONG slot = InterlockedIncrement(&g_nextSlot) - 1;
    // A fixed number of per-thread types exists in the library; running out is a build mistake.
    if (slot >= kSlots) throw std::bad_alloc();
    return static_cast<int>(slot);
}

void* find(int slot)
{
    Block* block = current();
    return block ? block->values[slot] : nullptr;
}

void store(int slot, void* value, Destroy destroyValue)
{
    const DWORD index = tlsIndex();
    Block* block = static_cast<Block*>(TlsGetValue(index));
    if (!block) {
        block = new Block();
        if (!TlsSetValue(index, block)) {
            delete block;
            throw std::bad_alloc();
        }
        AcquireSRWLockExclusive(&g_lock);
        block->next = g_blocks;
        if (g_blocks) g_blocks->previous = block;
        g_blocks = block;
        ++g_live;
        ReleaseSRWLockExclusive(&g_lock);
    }
    block->values[slot] = value;
    block->destroy[slot] = destroyValue;
}

} // namespace detail

void releaseThread() noexcept
{
    Block* block = current();
    if (!block) return;
    TlsSetValue(g_index, nullptr);
    AcquireSRWLockExclusive(&g_lock);
    unlink(block);
    ReleaseSRWLockExclusive(&g_lock);
    destroy(block);
}

void releaseAll() noexcept
{
    AcquireSRWLockExclusive(&g_lock);
    Block* blocks = g_blocks;
    g_blocks = nullptr;
    g_live = 0;
    if (g_index != TLS_OUT_OF_INDEXES) TlsFree(g_index);
    g_index = TLS_OUT_OF_INDEXES;
    ReleaseSRWLockExclusive(&g_lock);
    while (blocks) destroy(std::exchange(blocks, blocks->next));
}

int liveThreads() noexcept
{
    AcquireSRWLockShared(&g_lock);
    int live = g_live;
    ReleaseSRWLockShared(&g_lock);
    return live;
}

} // namespace quillon::perthread

// Private heaps. Every block is kept on its heap's list, so that HeapDestroy
// can give back whatever the heap still holds.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

namespace {

constexpr uint32_t HeapMagic = 0x50414548;   // "HEAP"
constexpr uint32_t BlockMagic = 0x4B434C42;  // "BLCK"

struct Heap;

struct alignas(16) Block {
    uint32_t magic;
    Heap* heap;
    Block* previous;
    Block* next;
    SIZE_T size;
};
static_assert(sizeof(Block) % 16 == 0, "block header keeps payloads 16-byte aligned");

struct Heap {
    uint32_t magic = HeapMagic;
    bool serialize = true;
    SIZE_T maximum = 0;  // 0: growable without limit
    SIZE_T used = 0;
    Block* blocks = nullptr;
    std::mutex lock;
};

class HeapLock {
public:
    explicit HeapLock(Heap* heap) : heap_(heap) {
        if (heap_->serialize) heap_->lock.lock();
    }
    ~HeapLock() {
        if (heap_->serialize) heap_->lock.unlock();
    }
    HeapLock(const HeapLock&) = delete;
    HeapLock& operator=(const HeapLock&) = delete;

private:
    Heap* heap_;
};

Heap* AsHeap(HANDLE handle) {
    Heap* heap = static_cast<Heap*>(handle);
    if (heap == nullptr || heap->magic != HeapMagic) return nullptr;
    return heap;
}

Block* AsBlock(Heap* heap, LPCVOID memory) {
    if (memory == nullptr) return nullptr;
    Block* block = reinterpret_cast<Block*>(const_cast<char*>(static_cast<const char*>(memory))) - 1;
    if (block->magic != BlockMagic || block->heap != heap) return nullptr;
    return block;
}

bool Fits(const Heap* heap, SIZE_T more) {
    return heap->maximum == 0 || (heap->used <= heap->maximum && more <= heap->maximum - heap->used);
}

void Link(Heap* heap, Block* block) {
    block->previous = nullptr;
    block->next = heap->blocks;
    if (heap->blocks != nullptr) heap->blocks->previous = block;
    heap->blocks = block;
}

void Unlink(Heap* heap, Block* block) {
    if (block->previous != nullptr)
        block->previous->next = block->next;
    else
        heap->blocks = block->next;
    if (block->next != nullptr) block->next->previous = block->previous;
}

Heap* ProcessHeap() {
    static Heap* heap = new Heap;
    return heap;
}

}  // namespace

HANDLE WINAPI HeapCreate(DWORD options, SIZE_T initialSize, SIZE_T maximumSize) {
    Heap* heap = new (std::nothrow) Heap;
    if (heap == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    heap->serialize = (options & HEAP_NO_SERIALIZE) == 0;
    if (maximumSize != 0 && maximumSize < initialSize) maximumSize = initialSize;
    heap->maximum = maximumSize;
    return heap;
}

BOOL WINAPI HeapDestroy(HANDLE handle) {
    Heap* heap = AsHeap(handle);
    if (heap == nullptr || heap == ProcessHeap()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Block* block = heap->blocks;
    while (block != nullptr) {
        Block* next = block->next;
        block->magic = 0;
        std::free(block);
        block = next;
    }
    heap->magic = 0;
    delete heap;
    return TRUE;
}

LPVOID WINAPI HeapAlloc(HANDLE handle, DWORD flags, SIZE_T bytes) {
    Heap* heap = AsHeap(handle);
    if (heap == nullptr || bytes > SIZE_MAX / 2) {
        SetLastError(heap == nullptr ? ERROR_INVALID_HANDLE : ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HeapLock guard(heap);
    if (!Fits(heap, bytes)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Block* block = static_cast<Block*>((flags & HEAP_ZERO_MEMORY) ? std::calloc(1, sizeof(Block) + bytes)
                                                                   : std::malloc(sizeof(Block) + bytes));
    if (block == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    block->magic = BlockMagic;
    block->heap = heap;
    block->size = bytes;
    Link(heap, block);
    heap->used += bytes;
    return block + 1;
}

LPVOID WINAPI HeapReAlloc(HANDLE handle, DWORD flags, LPVOID memory, SIZE_T bytes) {
    Heap* heap = AsHeap(handle);
    if (heap == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HeapLock guard(heap);
    Block* block = AsBlock(heap, memory);
    if (block == nullptr || bytes > SIZE_MAX / 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const SIZE_T oldSize = block->size;
    if (bytes > oldSize) {
        if ((flags & HEAP_REALLOC_IN_PLACE_ONLY) || !Fits(heap, bytes - oldSize)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    Unlink(heap, block);
    Block* grown = static_cast<Block*>(std::realloc(block, sizeof(Block) + bytes));
    if (grown == nullptr) {
        Link(heap, block);  // the old block is still valid
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if ((flags & HEAP_ZERO_MEMORY) && bytes > oldSize)
        std::memset(reinterpret_cast<char*>(grown + 1) + oldSize, 0, bytes - oldSize);
    grown->size = bytes;
    Link(heap, grown);
    heap->used = heap->used - oldSize + bytes;
    return grown + 1;
}

BOOL WINAPI HeapFree(HANDLE handle, DWORD, LPVOID memory) {
    Heap* heap = AsHeap(handle);
    if (heap == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (memory == nullptr) return TRUE;
    HeapLock guard(heap);
    Block* block = AsBlock(heap, memory);
    if (block == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Unlink(heap, block);
    heap->used -= block->size;
    block->magic = 0;
    std::free(block);
    return TRUE;
}

SIZE_T WINAPI HeapSize(HANDLE handle, DWORD, LPCVOID memory) {
    Heap* heap = AsHeap(handle);
    if (heap == nullptr) return static_cast<SIZE_T>(-1);
    HeapLock guard(heap);
    Block* block = AsBlock(heap, memory);
    return block == nullptr ? static_cast<SIZE_T>(-1) : block->size;
}

HANDLE WINAPI GetProcessHeap(void) { return ProcessHeap(); }

SIZE_T PlatformHeapBlockCount(HANDLE handle) {
    Heap* heap = AsHeap(handle);
    if (heap == nullptr) return 0;
    HeapLock guard(heap);
    SIZE_T count = 0;
    for (Block* block = heap->blocks; block != nullptr; block = block->next) ++count;
    return count;
}

SIZE_T PlatformHeapBytesInUse(HANDLE handle) {
    Heap* heap = AsHeap(handle);
    if (heap == nullptr) return 0;
    HeapLock guard(heap);
    return heap->used;
}

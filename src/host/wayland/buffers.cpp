// Shared-memory buffers: one memfd holds all the buffers of a size, which the compositor maps
// once through a wl_shm_pool. The frame's buffers are made on the main thread whenever the worker
// asks for a size they do not have.
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "host/wayland/wayland_host.h"

namespace lw::wayland {

namespace {

void released(void*, wl_buffer* buffer) { onBufferReleased(buffer); }

const wl_buffer_listener kBufferListener{released};

// A pool larger than an int can address cannot be made.
bool sizeFits(int width, int height, int count, std::size_t& bytes) {
    if (width <= 0 || height <= 0 || count <= 0) return false;
    const auto perBuffer = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    bytes = perBuffer * static_cast<std::size_t>(count);
    return bytes / static_cast<std::size_t>(count) == perBuffer &&
           bytes <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}

}  // namespace

bool makeBufferSet(BufferSet& set, int width, int height, int count) {
    destroyBufferSet(set);
    std::size_t bytes = 0;
    if (!sizeFits(width, height, count, bytes)) {
        report("no buffer of %dx%d pixels can be shared with the compositor", width, height);
        return false;
    }
    const int fd = memfd_create("lumenwaltz-frame", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
        report("cannot make %zu bytes of shared memory for the frame: %s", bytes, std::strerror(errno));
        if (fd >= 0) close(fd);
        return false;
    }
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        report("cannot map the frame's shared memory: %s", std::strerror(errno));
        close(fd);
        return false;
    }
    wl_shm_pool* pool = wl_shm_create_pool(state().display.globals.shm, fd, static_cast<std::int32_t>(bytes));
    const int bufferBytes = width * height * 4;
    for (int i = 0; i < count; ++i) {
        wl_buffer* buffer = wl_shm_pool_create_buffer(pool, i * bufferBytes, width, height, width * 4,
                                                      WL_SHM_FORMAT_XRGB8888);
        wl_buffer_add_listener(buffer, &kBufferListener, nullptr);
        set.buffers.push_back(buffer);
    }
    // The buffers keep the memory shared; the pool and the descriptor are no longer needed.
    wl_shm_pool_destroy(pool);
    close(fd);
    set.width = width;
    set.height = height;
    set.stride = width;
    set.memory = static_cast<std::uint32_t*>(memory);
    set.bytes = bytes;
    std::memset(memory, 0, bytes);
    return true;
}

void destroyBufferSet(BufferSet& set) {
    for (wl_buffer* buffer : set.buffers) wl_buffer_destroy(buffer);
    if (set.memory != nullptr) munmap(set.memory, set.bytes);
    set = BufferSet{};
}

}  // namespace lw::wayland

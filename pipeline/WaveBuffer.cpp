// Appending to and reading from the acquisition ring.
#include "pipeline/WaveBuffer.h"

#include <algorithm>

void WaveBuffer::Append(const double* values, size_t n) {
    const size_t capacity = samples.size();
    if (capacity == 0 || n == 0 || values == nullptr) return;
    if (n >= capacity) {
        std::copy(values + (n - capacity), values + n, samples.begin());
        heldCount = static_cast<int>(capacity);
        oldestIndex = 0;
        return;
    }
    const size_t write = (static_cast<size_t>(oldestIndex) + static_cast<size_t>(heldCount)) % capacity;
    const size_t first = std::min(n, capacity - write);
    std::copy(values, values + first, samples.begin() + static_cast<std::ptrdiff_t>(write));
    std::copy(values + first, values + n, samples.begin());

    const size_t held = static_cast<size_t>(heldCount) + n;
    if (held <= capacity) {
        heldCount = static_cast<int>(held);
    } else {
        oldestIndex = static_cast<int>((static_cast<size_t>(oldestIndex) + held - capacity) % capacity);
        heldCount = static_cast<int>(capacity);
    }
}

int WaveBuffer::ReadRing(int start, double* dest, int count) const {
    const int capacity = Capacity();
    if (capacity == 0 || dest == nullptr || count <= 0) return 0;
    count = std::min(count, capacity);
    // Logical positions count from the oldest held sample, not from slot 0.
    const int physical = PhysicalIndex(std::max(start, 0) % capacity);
    const int first = std::min(count, capacity - physical);
    std::copy(samples.begin() + physical, samples.begin() + physical + first, dest);
    std::copy(samples.begin(), samples.begin() + (count - first), dest + first);
    return count;
}

bool WaveBuffer::Check() const {
    const int capacity = Capacity();
    if (heldCount < 0 || heldCount > capacity) return false;
    if (capacity == 0) return oldestIndex == 0;
    return oldestIndex >= 0 && oldestIndex < capacity;
}

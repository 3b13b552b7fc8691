#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace velmora {

// A bottom-up stable merge sort that is safe for any comparator, including ones that
// are not strict weak orderings (the stability bonus makes the ranking comparator one).
// It only compares and moves elements of `list` and of one buffer of the same size;
// every loop is bounded by the element counts, so it always terminates. Where the
// comparator is consistent the result equals std::stable_sort's.
template <typename T, typename Less>
void stableMergeSort(std::vector<T> &list, Less less)
{
    const std::size_t n = list.size();
    if (n < 2)
        return;
    std::vector<T> buffer(n);
    std::vector<T> *from = &list;
    std::vector<T> *to = &buffer;
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n);
            const std::size_t hi = std::min(lo + 2 * width, n);
            std::size_t i = lo;
            std::size_t j = mid;
            std::size_t k = lo;
            while (i < mid && j < hi) {
                // Take from the right only when it strictly goes first: keeps equal order.
                if (less((*from)[j], (*from)[i]))
                    (*to)[k++] = std::move((*from)[j++]);
                else
                    (*to)[k++] = std::move((*from)[i++]);
            }
            while (i < mid)
                (*to)[k++] = std::move((*from)[i++]);
            while (j < hi)
                (*to)[k++] = std::move((*from)[j++]);
        }
        std::swap(from, to);
    }
    if (from != &list) {
        for (std::size_t i = 0; i < n; ++i)
            list[i] = std::move(buffer[i]);
    }
}

} // namespace velmora

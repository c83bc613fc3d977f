#pragma once
// The binary search shared by the topology searches (CTavroEdge::FindNode,
// CTavroAutoLoop::FindDist and FindNode): an internal helper, not a part of the interface.

namespace Tavro {
namespace detail {

// Searches indices [0, count) of an ascending sequence. matches(i): the element at i is the one
// sought; above(i): the sought value lies above the element at i. index becomes the match, or on
// false the position at which the value would be inserted.
template <class Matches, class Above>
bool searchSorted(int count, Matches matches, Above above, int& index) {
    int low = 0, high = count - 1;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        if (matches(mid)) {
            index = mid;
            return true;
        }
        if (above(mid))
            low = mid + 1;
        else
            high = mid - 1;
    }
    index = low;
    return false;
}

} // namespace detail
} // namespace Tavro

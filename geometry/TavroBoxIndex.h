#pragma once
// A packed R-tree over a fixed set of axis-aligned boxes, for the engines that must ask "which
// pieces can meet this one?" without looking at every piece. Internal to the library: not part
// of the public interface.
//
// The boxes are packed once (sort-tile-recursive: slices by x, runs by y, sixteen to a node) and
// never change. A query lists the numbers of every box that meets the query box, edges
// included. A box with a NaN or infinite coordinate cannot be sorted or bounded, so it is
// listed by every query and the caller's exact test decides.

#include "TavroExport.h"

#include <cmath>
#include <vector>

namespace Tavro {

struct IndexBox {
    double minX;
    double minY;
    double maxX;
    double maxY;

    bool meets(const IndexBox& other) const {
        return minX <= other.maxX && other.minX <= maxX && minY <= other.maxY && other.minY <= maxY;
    }
    bool isFinite() const {
        return std::isfinite(minX) && std::isfinite(minY) && std::isfinite(maxX) &&
               std::isfinite(maxY);
    }
    // The box grown by margin on every side.
    IndexBox grown(double margin) const {
        return {minX - margin, minY - margin, maxX + margin, maxY + margin};
    }
};

class TAVRO_API BoxIndex {
public:
    BoxIndex() = default;
    explicit BoxIndex(const std::vector<IndexBox>& boxes);

    int size() const { return m_size; }
    // Appends to out the numbers of the boxes that meet query, in no particular order.
    void query(const IndexBox& query, std::vector<int>& out) const;
    // The same, sorted ascending, so callers can keep the order of a plain scan.
    void querySorted(const IndexBox& query, std::vector<int>& out) const;

private:
    struct Node {
        IndexBox box;
        int first; // first child in the level below, or first entry of m_entries for a leaf
        int count;
    };
    static const int kFan = 16;

    static std::vector<size_t> tile(std::vector<int>& order, const std::vector<IndexBox>& boxes);
    static std::vector<Node> group(const std::vector<IndexBox>& boxes,
                                   const std::vector<size_t>& slices);
    void packLevel();

    int m_size = 0;
    std::vector<int> m_entries;              // box numbers in leaf order
    std::vector<IndexBox> m_entryBoxes;      // their boxes, in the same order
    std::vector<std::vector<Node>> m_levels; // leaves first, the root level last
    std::vector<int> m_unbounded;            // boxes with a non-finite coordinate
};

} // namespace Tavro

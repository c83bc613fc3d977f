#include "TavroBoxIndex.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Tavro {

namespace {
double centreX(const IndexBox& b) {
    return (b.minX + b.maxX) / 2.0;
}
double centreY(const IndexBox& b) {
    return (b.minY + b.maxY) / 2.0;
}
IndexBox unite(const IndexBox& a, const IndexBox& b) {
    return {std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
            std::max(a.maxY, b.maxY)};
}
} // namespace

bool IndexBox::isFinite() const {
    return std::isfinite(minX) && std::isfinite(minY) && std::isfinite(maxX) && std::isfinite(maxY);
}

BoxIndex::BoxIndex(const std::vector<IndexBox>& boxes) : m_size(static_cast<int>(boxes.size())) {
    std::vector<int> order;
    order.reserve(boxes.size());
    for (int i = 0; i < m_size; ++i)
        (boxes[static_cast<size_t>(i)].isFinite() ? order : m_unbounded).push_back(i);
    if (order.empty()) return;
    packLeaves(order, boxes);
    while (m_levels.back().size() > 1) {
        const std::vector<Node> below = m_levels.back();
        packLevel(below);
    }
}

// Slices by centre x, each cut into runs by centre y, sixteen boxes to a leaf.
void BoxIndex::packLeaves(std::vector<int>& order, const std::vector<IndexBox>& boxes) {
    auto byX = [&](int a, int b) {
        return centreX(boxes[static_cast<size_t>(a)]) < centreX(boxes[static_cast<size_t>(b)]);
    };
    auto byY = [&](int a, int b) {
        return centreY(boxes[static_cast<size_t>(a)]) < centreY(boxes[static_cast<size_t>(b)]);
    };
    std::sort(order.begin(), order.end(), byX);
    const size_t n = order.size();
    const size_t leaves = (n + kFan - 1) / kFan;
    const size_t slices = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(leaves))));
    const size_t perSlice = ((leaves + slices - 1) / slices) * kFan;
    for (size_t s = 0; s < n; s += perSlice)
        std::sort(order.begin() + static_cast<long>(s),
                  order.begin() + static_cast<long>(std::min(n, s + perSlice)), byY);
    m_entries = order;
    m_entryBoxes.reserve(n);
    for (int i : order)
        m_entryBoxes.push_back(boxes[static_cast<size_t>(i)]);
    std::vector<Node> leafLevel;
    for (size_t s = 0; s < n; s += perSlice) {
        const size_t sliceEnd = std::min(n, s + perSlice);
        for (size_t first = s; first < sliceEnd; first += kFan) {
            const size_t last = std::min(sliceEnd, first + kFan);
            Node node{m_entryBoxes[first], static_cast<int>(first), static_cast<int>(last - first)};
            for (size_t k = first + 1; k < last; ++k)
                node.box = unite(node.box, m_entryBoxes[k]);
            leafLevel.push_back(node);
        }
    }
    m_levels.push_back(std::move(leafLevel));
}

// Nodes of one level, in their packed order, sixteen to a parent.
void BoxIndex::packLevel(const std::vector<Node>& below) {
    std::vector<Node> level;
    for (size_t first = 0; first < below.size(); first += kFan) {
        const size_t last = std::min(below.size(), first + kFan);
        Node node{below[first].box, static_cast<int>(first), static_cast<int>(last - first)};
        for (size_t k = first + 1; k < last; ++k)
            node.box = unite(node.box, below[k].box);
        level.push_back(node);
    }
    m_levels.push_back(std::move(level));
}

void BoxIndex::query(const IndexBox& query, std::vector<int>& out) const {
    out.insert(out.end(), m_unbounded.begin(), m_unbounded.end());
    if (m_levels.empty()) return;
    // Depth-first from the single root with a fixed stack of (level, node): each level adds at
    // most sixteen entries, and an int-sized set of boxes packs into at most eight levels.
    std::pair<int, int> stack[kFan * 9];
    int depth = 0;
    stack[depth++] = {static_cast<int>(m_levels.size()) - 1, 0};
    while (depth > 0) {
        const auto [level, index] = stack[--depth];
        const Node& node = m_levels[static_cast<size_t>(level)][static_cast<size_t>(index)];
        if (!node.box.meets(query)) continue;
        for (int k = node.first; k < node.first + node.count; ++k) {
            if (level > 0)
                stack[depth++] = {level - 1, k};
            else if (m_entryBoxes[static_cast<size_t>(k)].meets(query))
                out.push_back(m_entries[static_cast<size_t>(k)]);
        }
    }
}

void BoxIndex::querySorted(const IndexBox& query, std::vector<int>& out) const {
    const size_t from = out.size();
    this->query(query, out);
    std::sort(out.begin() + static_cast<long>(from), out.end());
}

} // namespace Tavro

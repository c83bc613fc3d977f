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

BoxIndex::BoxIndex(const std::vector<IndexBox>& boxes) : m_size(static_cast<int>(boxes.size())) {
    std::vector<int> order;
    order.reserve(boxes.size());
    for (int i = 0; i < m_size; ++i)
        (boxes[static_cast<size_t>(i)].isFinite() ? order : m_unbounded).push_back(i);
    if (order.empty()) return;
    const std::vector<size_t> runs = tile(order, boxes);
    m_entries = order;
    m_entryBoxes.reserve(order.size());
    for (int i : order)
        m_entryBoxes.push_back(boxes[static_cast<size_t>(i)]);
    m_levels.push_back(group(m_entryBoxes, runs));
    while (m_levels.back().size() > 1)
        packLevel();
}

// Sort-tile-recursive order: slices by centre x, each sorted by centre y, so that sixteen
// neighbours in the order lie close together. Returns where each slice begins (and the end).
std::vector<size_t> BoxIndex::tile(std::vector<int>& order, const std::vector<IndexBox>& boxes) {
    auto byX = [&](int a, int b) {
        return centreX(boxes[static_cast<size_t>(a)]) < centreX(boxes[static_cast<size_t>(b)]);
    };
    auto byY = [&](int a, int b) {
        return centreY(boxes[static_cast<size_t>(a)]) < centreY(boxes[static_cast<size_t>(b)]);
    };
    std::sort(order.begin(), order.end(), byX);
    const size_t n = order.size();
    const size_t groups = (n + kFan - 1) / kFan;
    const size_t slices = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(groups))));
    const size_t perSlice = ((groups + slices - 1) / slices) * kFan;
    std::vector<size_t> starts;
    for (size_t s = 0; s < n; s += perSlice) {
        starts.push_back(s);
        std::sort(order.begin() + static_cast<long>(s),
                  order.begin() + static_cast<long>(std::min(n, s + perSlice)), byY);
    }
    starts.push_back(n);
    return starts;
}

// Nodes of up to sixteen consecutive boxes, never across a slice.
std::vector<BoxIndex::Node> BoxIndex::group(const std::vector<IndexBox>& boxes,
                                            const std::vector<size_t>& slices) {
    std::vector<Node> nodes;
    for (size_t s = 0; s + 1 < slices.size(); ++s) {
        for (size_t first = slices[s]; first < slices[s + 1]; first += kFan) {
            const size_t last = std::min(slices[s + 1], first + kFan);
            Node node{boxes[first], static_cast<int>(first), static_cast<int>(last - first)};
            for (size_t k = first + 1; k < last; ++k)
                node.box = unite(node.box, boxes[k]);
            nodes.push_back(node);
        }
    }
    return nodes;
}

// The top level tiled like the boxes themselves, then grouped into a new top level.
void BoxIndex::packLevel() {
    std::vector<Node>& below = m_levels.back();
    std::vector<IndexBox> boxes;
    for (const Node& node : below)
        boxes.push_back(node.box);
    std::vector<int> order(below.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    const std::vector<size_t> runs = tile(order, boxes);
    std::vector<Node> reordered;
    std::vector<IndexBox> reorderedBoxes;
    for (int i : order) {
        reordered.push_back(below[static_cast<size_t>(i)]);
        reorderedBoxes.push_back(boxes[static_cast<size_t>(i)]);
    }
    below = std::move(reordered);
    m_levels.push_back(group(reorderedBoxes, runs));
}

void BoxIndex::query(const IndexBox& query, std::vector<int>& out) const {
    out.insert(out.end(), m_unbounded.begin(), m_unbounded.end());
    if (m_levels.empty()) return;
    // Depth-first from the single root with a fixed stack of (level, node): each level adds at
    // most fifteen entries, and an int-sized set of boxes packs into fewer than sixteen levels.
    std::pair<int, int> stack[kFan * kFan];
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

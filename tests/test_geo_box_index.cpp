// The packed box index: every query lists exactly the boxes a scan of all of them finds.

#include "TestSupport.h"

#include "TavroBoxIndex.h"

#include <random>

TEST(BoxIndex, QueriesMatchAScanOfEveryBox) {
    std::mt19937 rng(21);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (const int n : {0, 1, 15, 16, 17, 300, 5000}) {
        std::vector<Tavro::IndexBox> boxes;
        for (int i = 0; i < n; ++i) {
            const double x = 1000 * unit(rng), y = 1000 * unit(rng);
            const double w = i % 50 == 0 ? 400 * unit(rng) : 5 * unit(rng);
            boxes.push_back({x, y, x + w, y + 5 * unit(rng)});
        }
        // Boxes that cannot be ordered: listed by every query.
        if (n > 20) {
            boxes[3] = {kNaN, 0, 1, 1};
            boxes[7] = {0, 0, kInf, 1};
        }
        const Tavro::BoxIndex index(boxes);
        EXPECT_EQ(index.size(), n);
        for (int q = 0; q < 200; ++q) {
            const double x = 1100 * unit(rng) - 50, y = 1100 * unit(rng) - 50;
            const Tavro::IndexBox query{x, y, x + 30 * unit(rng), y + 30 * unit(rng)};
            std::vector<int> want, got;
            for (int i = 0; i < n; ++i)
                if (!boxes[static_cast<size_t>(i)].isFinite() ||
                    boxes[static_cast<size_t>(i)].meets(query))
                    want.push_back(i);
            index.querySorted(query, got);
            ASSERT_EQ(got, want) << n << " " << q;
        }
        // Touching edges meet; a NaN query meets only the unordered boxes.
        if (n > 0) {
            std::vector<int> touching;
            const Tavro::IndexBox& b = boxes[0];
            index.querySorted({b.maxX, b.maxY, b.maxX + 1, b.maxY + 1}, touching);
            EXPECT_TRUE(std::binary_search(touching.begin(), touching.end(), 0));
        }
        std::vector<int> none;
        index.querySorted({kNaN, kNaN, kNaN, kNaN}, none);
        EXPECT_EQ(none.size(), n > 20 ? 2u : 0u);
    }
}

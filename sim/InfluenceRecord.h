#pragma once

#include <vector>

namespace brv {

// How strongly each colony is present around one life source: the Hard
// opponent's view of the field. Columns of colonies that do not exist stay 0.
struct InfluenceRecord {
    static constexpr int kColonies = 4;
    int weight[kColonies] = {};
    // Position of the life source in the world's list when the table was built.
    int sourceIndex = 0;
};

// One record per life source, in life-source list order; always rebuilt whole.
using InfluenceTable = std::vector<InfluenceRecord>;

}  // namespace brv

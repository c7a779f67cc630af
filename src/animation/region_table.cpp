#include "animation/region_table.h"

#include <algorithm>

namespace zephlet {

TRegionTable RegionTable;

void LoadRegionBlock(std::span<const uint8_t> block) {
  size_t pos = 0;
  for (RegionEntry& entry : RegionTable) {
    entry.Data.clear();
    if (entry.Size <= 0) continue;
    const size_t take = std::min(static_cast<size_t>(entry.Size), block.size() - pos);
    entry.Data.assign(block.begin() + static_cast<std::ptrdiff_t>(pos),
                      block.begin() + static_cast<std::ptrdiff_t>(pos + take));
    pos += take;
  }
}

}  // namespace zephlet

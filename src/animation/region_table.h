// One window region per animation frame, as raw region data (a 32-byte header
// followed by the rectangles), loaded from the payload's region block.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zephlet {

struct RegionEntry {
  int32_t Size = 0;           // byte length from the settings
  std::vector<uint8_t> Data;  // the bytes present in the block, at most Size
};

using TRegionTable = std::vector<RegionEntry>;

extern TRegionTable RegionTable;

// Fills every entry's data from `block`, entry after entry. An entry that runs
// past the block's end keeps only the bytes present, so the platform rejects
// its region and the frame keeps the previous shape.
void LoadRegionBlock(std::span<const uint8_t> block);

}  // namespace zephlet

#include "bench_inputs.h"

#include <algorithm>
#include <filesystem>

#include "gif_oracle/decoded_gif.h"

namespace zephlet::bench {

namespace fs = std::filesystem;

std::vector<BenchInput> LoadBenchInputs(const std::string& shared_dir,
                                        const std::string& corpus_dir) {
  std::vector<BenchInput> inputs;
  const fs::path wuffs = fs::path(shared_dir) / "gif-suites" / "wuffs";
  for (const char* name : {"harvesters.gif", "hibiscus.regular.gif", "bricks-gray.gif", "hat.gif",
                           "gifplayer-muybridge.gif"}) {
    if (fs::exists(wuffs / name)) {
      inputs.push_back({name, false, oracle::ReadFileBytes((wuffs / name).string())});
    }
  }
  std::vector<fs::path> generated;
  if (fs::is_directory(corpus_dir)) {
    for (const auto& entry : fs::directory_iterator(corpus_dir)) {
      if (entry.path().extension() == ".gif") generated.push_back(entry.path());
    }
  }
  std::sort(generated.begin(), generated.end());
  for (const fs::path& file : generated) {
    inputs.push_back({file.filename().string(), true, oracle::ReadFileBytes(file.string())});
  }
  return inputs;
}

}  // namespace zephlet::bench

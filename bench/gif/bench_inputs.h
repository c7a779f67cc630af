// The files the benchmark decodes: wuffs' benchmark GIFs from the shared peer suites and the
// generated oracle corpus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zephlet::bench {

struct BenchInput {
  std::string name;  // file name, with its corpus group for generated files
  bool generated = false;
  std::vector<uint8_t> bytes;
};

// wuffs' harvesters, hibiscus.regular, bricks-gray, hat and gifplayer-muybridge from
// <shared>/gif-suites/wuffs (those present), then every .gif of `corpus_dir`, sorted.
std::vector<BenchInput> LoadBenchInputs(const std::string& shared_dir,
                                        const std::string& corpus_dir);

}  // namespace zephlet::bench

// Decode throughput of our GIF reader beside giflib and stb_image on the same files.
//
//   gif_decode_bench [benchmark flags]
//
// Files: wuffs' benchmark GIFs from $ZEPHLET_SHARED/gif-suites/wuffs and the generated
// corpus in $ZEPHLET_GIF_CORPUS (defaults set at build time; the target gif_bench_corpus
// writes the corpus). Each decoder decodes every frame of a file once per iteration; the
// run ends with a table of input MB/s, output Mpixel/s and our speed as a ratio of each peer's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "decoders.h"
#include "ratio_reporter.h"

namespace zephlet::bench {
namespace {

using DecodeFunction = int64_t (*)(const uint8_t*, size_t);

DecodeFunction DecoderNamed(const std::string& name) {
  if (name == "ours") return DecodeOurs;
  if (name == "giflib") return DecodeGiflib;
  return DecodeStb;
}

std::string FromEnvironment(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  return value != nullptr ? value : fallback;
}

void DecodeLoop(benchmark::State& state, DecodeFunction decode, const BenchInput* input,
                int64_t pixels) {
  for (auto _ : state) {
    int64_t decoded = decode(input->bytes.data(), input->bytes.size());
    benchmark::DoNotOptimize(decoded);
  }
  const auto iterations = static_cast<int64_t>(state.iterations());
  state.SetBytesProcessed(iterations * static_cast<int64_t>(input->bytes.size()));
  state.counters["Mpix/s"] = benchmark::Counter(static_cast<double>(iterations * pixels) / 1e6,
                                                benchmark::Counter::kIsRate);
}

}  // namespace
}  // namespace zephlet::bench

int main(int argc, char** argv) {
  using namespace zephlet::bench;
  benchmark::Initialize(&argc, argv);
  const std::string shared = FromEnvironment("ZEPHLET_SHARED", ZEPHLET_BENCH_SHARED);
  const std::string corpus = FromEnvironment("ZEPHLET_GIF_CORPUS", ZEPHLET_BENCH_CORPUS);
  static const std::vector<BenchInput> inputs = LoadBenchInputs(shared, corpus);
  if (inputs.empty()) {
    std::fprintf(stderr, "no input: neither %s/gif-suites/wuffs nor %s holds a GIF\n",
                 shared.c_str(), corpus.c_str());
    return 1;
  }
  if (std::none_of(inputs.begin(), inputs.end(),
                   [](const BenchInput& in) { return in.generated; })) {
    std::fprintf(stderr, "no generated corpus in %s: build the target gif_bench_corpus to add it\n",
                 corpus.c_str());
  }
  std::vector<FileFacts> facts;
  for (const BenchInput& input : inputs) {
    FileFacts file{input.name, input.generated, static_cast<int64_t>(input.bytes.size()), {}};
    for (const char* decoder : kDecoders) {
      const int64_t pixels = DecoderNamed(decoder)(input.bytes.data(), input.bytes.size());
      if (pixels < 0) continue;  // this decoder rejects the file: nothing to time
      file.pixels[decoder] = pixels;
      benchmark::RegisterBenchmark(RatioReporter::Name(decoder, input.name).c_str(), DecodeLoop,
                                   DecoderNamed(decoder), &input, pixels)
          ->Unit(benchmark::kMicrosecond)
          ->MinTime(input.generated ? 0.02 : 0.5);
    }
    facts.push_back(std::move(file));
  }
  RatioReporter reporter(std::move(facts));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

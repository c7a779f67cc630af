// A benchmark reporter that keeps each decoder's time per file and ends the run with a table
// of throughputs and of our reader's speed as a ratio of giflib's and stb_image's. Times are
// CPU times of the (single-threaded) decodes, which other load on the machine disturbs less
// than wall time.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zephlet::bench {

inline constexpr const char* kDecoders[] = {"ours", "giflib", "stb"};

struct FileFacts {
  std::string name;
  bool generated = false;
  int64_t bytes = 0;
  std::map<std::string, int64_t> pixels;  // per decoder; absent when it rejects the file
};

class RatioReporter : public benchmark::BenchmarkReporter {
 public:
  explicit RatioReporter(std::vector<FileFacts> files) : files_(std::move(files)) {}

  // Benchmark names are "decode/<decoder>/<file>".
  static std::string Name(const std::string& decoder, const std::string& file);

  bool ReportContext(const Context& context) override;
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  double Seconds(const std::string& decoder, const std::string& file) const;
  void PrintFileRow(const FileFacts& file) const;
  void PrintGroups() const;
  void PrintBelowFloor() const;

  std::vector<FileFacts> files_;
  std::map<std::string, double> seconds_;  // per benchmark name: time of one decode
};

}  // namespace zephlet::bench

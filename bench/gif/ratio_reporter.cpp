#include "ratio_reporter.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace zephlet::bench {
namespace {

double Rate(double amount, double seconds) {
  return seconds > 0 ? amount / seconds : 0;
}

std::string GroupOf(const std::string& file) {
  const auto dash = file.rfind('-');
  return dash == std::string::npos ? file : file.substr(0, dash);
}

}  // namespace

std::string RatioReporter::Name(const std::string& decoder, const std::string& file) {
  return "decode/" + decoder + "/" + file;
}

bool RatioReporter::ReportContext(const Context& context) {
  PrintBasicContext(&GetErrorStream(), context);
  std::fprintf(stdout, "timing %zu files with %zu decoders...\n", files_.size(),
               std::size(kDecoders));
  return true;
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.error_occurred) continue;
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    if (run.run_type == Run::RT_Aggregate && !median) continue;
    const std::string name = run.run_name.function_name;
    if (median || seconds_.count(name) == 0) {
      seconds_[name] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
  }
}

double RatioReporter::Seconds(const std::string& decoder, const std::string& file) const {
  const auto found = seconds_.find(Name(decoder, file));
  return found == seconds_.end() ? 0 : found->second;
}

void RatioReporter::PrintFileRow(const FileFacts& file) const {
  std::printf("%-28s %9.1f", file.name.c_str(), file.bytes / 1024.0);
  double ours = Seconds("ours", file.name);
  for (const char* decoder : kDecoders) {
    const double seconds = Seconds(decoder, file.name);
    const auto pixels = file.pixels.find(decoder);
    if (seconds <= 0 || pixels == file.pixels.end()) {
      std::printf(" | %8s %8s", "-", "-");
      continue;
    }
    std::printf(" | %8.1f %8.1f", Rate(file.bytes / 1e6, seconds),
                Rate(pixels->second / 1e6, seconds));
  }
  for (const char* peer : {"giflib", "stb"}) {
    const double seconds = Seconds(peer, file.name);
    if (ours > 0 && seconds > 0) {
      std::printf(" | %6.2fx", seconds / ours);
    } else {
      std::printf(" | %7s", "-");
    }
  }
  std::printf("\n");
}

void RatioReporter::PrintGroups() const {
  std::map<std::string, std::pair<int, int64_t>> groups;  // files, bytes
  std::map<std::string, std::map<std::string, double>> times;
  for (const FileFacts& file : files_) {
    if (!file.generated || Seconds("ours", file.name) <= 0) continue;
    const std::string group = GroupOf(file.name);
    groups[group].first += 1;
    groups[group].second += file.bytes;
    for (const char* decoder : kDecoders) times[group][decoder] += Seconds(decoder, file.name);
  }
  if (groups.empty()) return;
  std::printf(
      "\ngenerated corpus by group (input MB/s over the group's files; ratio = our speed / "
      "peer's)\n");
  std::printf("%-18s %6s %9s | %8s | %8s | %8s | %7s | %7s\n", "group", "files", "KiB", "ours",
              "giflib", "stb", "/giflib", "/stb");
  for (const auto& [group, facts] : groups) {
    const auto& t = times.at(group);
    std::printf("%-18s %6d %9.1f | %8.1f | %8.1f | %8.1f | %6.2fx | %6.2fx\n", group.c_str(),
                facts.first, facts.second / 1024.0, Rate(facts.second / 1e6, t.at("ours")),
                Rate(facts.second / 1e6, t.at("giflib")), Rate(facts.second / 1e6, t.at("stb")),
                Rate(t.at("giflib"), t.at("ours")), Rate(t.at("stb"), t.at("ours")));
  }
}

void RatioReporter::PrintBelowFloor() const {
  std::vector<std::pair<double, std::string>> below;
  int compared = 0;
  for (const FileFacts& file : files_) {
    const double ours = Seconds("ours", file.name);
    const double giflib = Seconds("giflib", file.name);
    if (ours <= 0 || giflib <= 0) continue;
    ++compared;
    if (giflib / ours < 1.0) below.emplace_back(giflib / ours, file.name);
  }
  std::sort(below.begin(), below.end());
  std::printf("\nfiles below giflib's throughput: %zu of %d\n", below.size(), compared);
  for (const auto& [ratio, name] : below) std::printf("  %6.2fx  %s\n", ratio, name.c_str());
}

void RatioReporter::Finalize() {
  std::printf(
      "\nGIF decode throughput: input MB/s and output Mpixel/s per decoder;\n"
      "ratio = our speed / peer's speed (above 1: ours is faster)\n");
  std::printf("%-28s %9s | %17s | %17s | %17s | %7s | %7s\n", "file", "KiB", "ours MB/s Mpix/s",
              "giflib MB/s Mpix/s", "stb MB/s Mpix/s", "/giflib", "/stb");
  bool generated_header = false;
  for (const FileFacts& file : files_) {
    const bool timed =
        std::any_of(std::begin(kDecoders), std::end(kDecoders),
                    [&](const char* decoder) { return Seconds(decoder, file.name) > 0; });
    if (!timed) continue;  // filtered out of this run
    if (file.generated && !generated_header) {
      std::printf("-- generated corpus --\n");
      generated_header = true;
    }
    PrintFileRow(file);
  }
  PrintGroups();
  PrintBelowFloor();
}

}  // namespace zephlet::bench

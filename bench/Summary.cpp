// The benchmark program's main: runs everything, then pairs each kit result
// with its limit and prints one table, also written as JSON.
#include "Summary.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace vela::bench {
namespace {

std::vector<Pairing>& pairings() {
    static std::vector<Pairing> all;
    return all;
}

/// Keeps the console output and remembers the time of every run by name.
class CollectingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            nanoseconds[run.benchmark_name()] =
                run.GetAdjustedRealTime() * multiplier(run.time_unit);
        }
    }
    std::map<std::string, double> nanoseconds;

  private:
    static double multiplier(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kSecond:
                return 1e9;
            case benchmark::kMillisecond:
                return 1e6;
            case benchmark::kMicrosecond:
                return 1e3;
            default:
                return 1;
        }
    }
};

struct Row {
    std::string label;
    std::string size;  // as Google Benchmark names it, e.g. "1000/iterations:20"
    double kit;
    double limit;
};

/// The leading number of a run's size suffix; options such as
/// "/iterations:20" belong to the run, not to the size.
long long numericSize(const std::string& size) {
    long long value = 0;
    for (char c : size) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string jsonString(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

std::vector<Row> pairUp(const std::map<std::string, double>& times) {
    std::vector<Row> rows;
    for (const auto& pairing : pairings()) {
        const std::string kitPrefix =
            std::string(pairing.group) + "/" + std::string(pairing.kit) + "/";
        for (const auto& [name, kitTime] : times) {
            if (!name.starts_with(kitPrefix)) continue;
            const std::string size = name.substr(kitPrefix.size());
            const auto limit = times.find(std::string(pairing.group) + "/" +
                                          std::string(pairing.limit) + "/" + size);
            if (limit == times.end()) continue;
            rows.push_back({std::string(pairing.label), size, kitTime, limit->second});
        }
    }
    return rows;
}

void print(const std::vector<Row>& rows) {
    std::printf("\n%-34s %8s %14s %14s %8s\n", "benchmark", "size", "kit ns", "limit ns", "ratio");
    for (const auto& row : rows) {
        std::printf("%-34s %8s %14.0f %14.0f %8.2f\n", row.label.c_str(), row.size.c_str(), row.kit,
                    row.limit, row.kit / row.limit);
    }
}

void writeJson(const std::vector<Row>& rows, const std::filesystem::path& file) {
    // A bare file name lives in the working directory, which exists.
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file);
    out << "[\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        out << "  {\"name\": " << jsonString(row.label) << ", \"size\": " << numericSize(row.size)
            << ", \"kit_ns\": " << static_cast<long long>(row.kit)
            << ", \"limit_ns\": " << static_cast<long long>(row.limit) << ", \"ratio\": ";
        // JSON has no NaN or infinity: a limit that took no time has no ratio.
        if (row.limit > 0) {
            out << row.kit / row.limit;
        } else {
            out << "null";
        }
        out << "}" << (i + 1 < rows.size() ? "," : "") << "\n";
    }
    out << "]\n";
}

}  // namespace

bool addPairing(Pairing pairing) {
    pairings().push_back(pairing);
    return true;
}

}  // namespace vela::bench

int main(int argc, char** argv) {
    // --summary FILE picks where the JSON goes; the rest is Google Benchmark's.
    std::filesystem::path summary = "bench/summary.json";
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--summary" && i + 1 < argc) {
            summary = argv[++i];
        } else {
            args.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    vela::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto rows = vela::bench::pairUp(reporter.nanoseconds);
    vela::bench::print(rows);
    vela::bench::writeJson(rows, summary);
    std::cout << "summary written to " << summary.string() << '\n';
    return 0;
}

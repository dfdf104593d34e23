// Export record parse throughput on a large generated record.
#include "Benchmarks.h"

#include "MERIDAX_plugin.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

// About `megabytes` of record: attribute lines of catalog-like length with model
// identifier lines among them.
std::string GeneratedRecord(int megabytes)
{
    std::string record = "[Attributes]\n";
    std::string identifiers = "[MIDENT]\n";
    for (int line = 0; record.size() + identifiers.size() < std::size_t(megabytes) << 20; ++line) {
        record += "ATTRIBUTE_" + std::to_string(line) + "=ISO 4017 - M8 x 40 - 8.8, steel, zinc plated\n";
        if (line % 20 == 0)
            identifiers += "MIDENT={$iso4017/iso4017.prj},ISO4017 {D=8},{L=" + std::to_string(line) + "},{K=5.3}\n";
    }
    return record + identifiers;
}

}  // namespace

void BenchParse(BenchReport& report, const std::filesystem::path& temp)
{
    constexpr int megabytes = 32;
    constexpr int rounds = 5;
    std::filesystem::path file = temp / "large_record.txt";
    std::ofstream(file, std::ios::binary) << GeneratedRecord(megabytes);
    double bytes = static_cast<double>(std::filesystem::file_size(file));

    MERIDAX_plugin plugin("C:\\Catalog", 1, 0);
    plugin.recordFile = file.string();
    std::vector<double> rates;
    for (int round = 0; round < rounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        plugin.ParseExportRecord();
        std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        rates.push_back(bytes / (1 << 20) / seconds.count());
    }
    Spread spread = SpreadOf(rates);
    report.Add("parse.throughput_median", spread.median, "MB/s",
               std::to_string(megabytes) + " MB record, " + std::to_string(plugin.recordAttributes.size()) +
                   " attributes, " + std::to_string(plugin.identVariables.size()) + " variables");
    std::filesystem::remove(file);
}

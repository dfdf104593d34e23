// Export record parse throughput: on a large generated catalog-like record (the
// typical case), and on records of the shapes that read slowest per byte, each at
// 64 KB and 1 MB so that a parse growing faster than its input shows; the slowest
// shape's throughput is set beside the typical one.
#include "Benchmarks.h"

#include "MERIDAX_plugin.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// A record shape: `head`, then `unit` repeated up to the size asked for; with
// `numbered`, each unit starts with its own number (distinct attribute names).
struct Shape {
    const char* name;
    std::string head;
    std::string unit;
    bool numbered = false;
};

// Many lines or fields of a few bytes each, where what is spent per line or per
// field weighs most; many names to tell apart; long variable fields.
const Shape SHAPES[] = {
    {"empty_attribute_lines", "[Attributes]\n", "\n"},
    {"one_attribute_name_repeated", "[Attributes]\n", "A=1\n"},
    {"distinct_short_names", "[Attributes]\n", "=\n", true},
    {"empty_variable_fields", "[MIDENT]\nMIDENT={$p},t ", ","},
    {"one_character_fields", "[MIDENT]\nMIDENT={$p},t ", "x,"},
    {"short_variables", "[MIDENT]\nMIDENT={$p},t ", "{A=1},"},
    {"comma_identifier_lines", "[MIDENT]\n", ",\n"},
    {"comma_blank_identifier_lines", "[MIDENT]\n", ", \n"},
    {"short_identifier_lines", "[MIDENT]\n", "MIDENT={$p},t {A=1}\n"},
    {"fields_of_1000_characters", "[MIDENT]\nMIDENT={$p},t ", "{" + std::string(998, 'x') + "},"},
    {"fields_of_1000_never_closed", "[MIDENT]\nMIDENT={$p},t ", "{" + std::string(999, 'x') + ","},
};

std::string ShapedRecord(const Shape& shape, std::size_t bytes)
{
    std::string record = shape.head;
    for (std::size_t i = 0;; ++i) {
        std::string unit = shape.numbered ? std::to_string(i) + shape.unit : shape.unit;
        if (record.size() + unit.size() > bytes)
            return record;
        record += unit;
    }
}

struct Throughput {
    double megabytesPerSecond = 0;  // median of the rounds
    double fastest = 0;             // of the round least disturbed by other work
    std::size_t attributes = 0, variables = 0;
};

Throughput MeasureParse(const std::filesystem::path& file, const std::string& record, int rounds)
{
    std::ofstream(file, std::ios::binary) << record;
    MERIDAX_plugin plugin("C:\\Catalog", 1, 0);
    plugin.recordFile = file.string();
    std::vector<double> rates;
    for (int round = 0; round < rounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        plugin.ParseExportRecord();
        std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        rates.push_back(static_cast<double>(record.size()) / (1 << 20) / seconds.count());
    }
    std::filesystem::remove(file);
    Spread spread = SpreadOf(rates);
    return {spread.median, spread.max, plugin.recordAttributes.size(), plugin.identVariables.size()};
}

std::string Fixed(double value, const char* format)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

void BenchParse(BenchReport& report, const std::filesystem::path& temp)
{
    constexpr int megabytes = 32;
    std::filesystem::path file = temp / "record.txt";
    Throughput typical = MeasureParse(file, GeneratedRecord(megabytes), 5);
    report.Add("parse.throughput_median", typical.megabytesPerSecond, "MB/s",
               std::to_string(megabytes) + " MB record, " + std::to_string(typical.attributes) + " attributes, " +
                   std::to_string(typical.variables) + " variables");

    const Shape* worst = nullptr;
    double worstRate = 0;
    double worstGrowth = 0;
    for (const Shape& shape : SHAPES) {
        Throughput small = MeasureParse(file, ShapedRecord(shape, 64 << 10), 15);
        Throughput large = MeasureParse(file, ShapedRecord(shape, 1 << 20), 7);
        // From the fastest rounds: on a busy machine a long round is more often
        // interrupted than a short one, which the medians would show as growth.
        double growth = small.fastest / large.fastest;
        report.Add(std::string("parse.shape.") + shape.name, large.megabytesPerSecond, "MB/s",
                   "1 MB; 64 KB: " + Fixed(small.megabytesPerSecond, "%.1f") + " MB/s; time per byte x" +
                       Fixed(growth, "%.2f") + " at 1 MB");
        if (!worst || large.megabytesPerSecond < worstRate) {
            worst = &shape;
            worstRate = large.megabytesPerSecond;
            worstGrowth = growth;
        }
    }
    report.Add("parse.worst_shape_throughput", worstRate, "MB/s", std::string("1 MB of ") + worst->name);
    report.Add("parse.worst_shape_growth", worstGrowth, "x",
               "its time per byte at 1 MB over that at 64 KB, fastest rounds; 1 is linear");
    report.Add("parse.worst_to_typical_ratio", worstRate / typical.megabytesPerSecond, "",
               "worst shape over the " + std::to_string(megabytes) + " MB record");
}

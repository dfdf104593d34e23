// Collects benchmark figures, prints them as a table and writes them as JSON.
#include "BenchReport.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

void BenchReport::Add(std::string name, double value, std::string unit, std::string note)
{
    figures_.push_back({std::move(name), value, std::move(unit), std::move(note)});
    const BenchFigure& added = figures_.back();
    std::printf("  %-44s %12.3f %-6s %s\n", added.name.c_str(), added.value, added.unit.c_str(),
                added.note.c_str());
    std::fflush(stdout);
}

void BenchReport::Print() const
{
    std::printf("\n%-46s %12s %-6s %s\n", "figure", "value", "unit", "note");
    for (const BenchFigure& figure : figures_)
        std::printf("%-46s %12.3f %-6s %s\n", figure.name.c_str(), figure.value,
                    figure.unit.c_str(), figure.note.c_str());
}

bool BenchReport::WriteJson(const std::string& path) const
{
    std::ofstream out(path);
    out << "{\n";
    for (std::size_t i = 0; i < figures_.size(); ++i) {
        const BenchFigure& figure = figures_[i];
        char value[64];
        std::snprintf(value, sizeof value, "%.6g", figure.value);
        out << "  \"" << figure.name << "\": {\"value\": " << value << ", \"unit\": \""
            << figure.unit << "\"}" << (i + 1 < figures_.size() ? "," : "") << "\n";
    }
    out << "}\n";
    return static_cast<bool>(out);
}

Spread SpreadOf(std::vector<double> samples)
{
    Spread spread;
    if (samples.empty())
        return spread;
    std::sort(samples.begin(), samples.end());
    spread.median = samples[samples.size() / 2];
    spread.p90 = samples[std::min(samples.size() - 1, samples.size() * 9 / 10)];
    spread.max = samples.back();
    return spread;
}

// Collects benchmark figures, prints them as a table and writes them as JSON.
#include "BenchReport.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

const char* const ROW = "%-44s %11s %11s %11s %7s %-7s %s\n";

std::string Number(const std::optional<double>& value, const char* format = "%.3f")
{
    if (!value)
        return "";
    char text[64];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

void PrintRow(const BenchFigure& figure, const char* indent)
{
    std::printf("%s", indent);
    std::printf(ROW, figure.name.c_str(), Number(figure.value).c_str(), Number(figure.max).c_str(),
                Number(figure.floor).c_str(), Number(figure.Ratio(), "%.2f").c_str(),
                figure.unit.c_str(), figure.note.c_str());
}

}  // namespace

std::optional<double> BenchFigure::Ratio() const
{
    if (!floor || *floor <= 0)
        return std::nullopt;
    return value / *floor;
}

void BenchReport::Add(std::string name, double value, std::string unit, std::string note)
{
    Keep({std::move(name), value, std::move(unit), std::move(note), std::nullopt, std::nullopt});
}

void BenchReport::AddSpread(std::string name, const Spread& spread, std::string unit, std::string note)
{
    Keep({std::move(name), spread.median, std::move(unit), std::move(note), spread.max, std::nullopt});
}

void BenchReport::AddAgainstFloor(std::string name, const Spread& spread, double floor,
                                  std::string unit, std::string note)
{
    Keep({std::move(name), spread.median, std::move(unit), std::move(note), spread.max, floor});
}

void BenchReport::Keep(BenchFigure figure)
{
    figures_.push_back(std::move(figure));
    PrintRow(figures_.back(), "  ");
    std::fflush(stdout);
}

void BenchReport::Print() const
{
    std::printf("\n");
    std::printf(ROW, "figure", "value/median", "max", "floor", "ratio", "unit", "note");
    for (const BenchFigure& figure : figures_)
        PrintRow(figure, "");
}

bool BenchReport::WriteJson(const std::string& path) const
{
    std::ofstream out(path);
    auto field = [&](const char* name, const std::optional<double>& value) {
        if (value)
            out << ", \"" << name << "\": " << Number(value, "%.6g");
    };
    out << "{\n";
    for (std::size_t i = 0; i < figures_.size(); ++i) {
        const BenchFigure& figure = figures_[i];
        out << "  \"" << figure.name << "\": {\"value\": " << Number(figure.value, "%.6g");
        field("max", figure.max);
        field("floor", figure.floor);
        field("ratio", figure.Ratio());
        out << ", \"unit\": \"" << figure.unit << "\"}" << (i + 1 < figures_.size() ? "," : "") << "\n";
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
    spread.count = samples.size();
    return spread;
}

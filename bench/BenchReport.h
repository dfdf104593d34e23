// Collects benchmark figures, prints them as a table and writes them as JSON.
// A figure is one value, or the median and maximum of samples; a figure measured
// against a floor (a cost it cannot go below, measured in the same run) also
// carries the floor and the ratio median / floor.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Median, 90th percentile and maximum of samples (milliseconds or any unit).
struct Spread {
    double median = 0;
    double p90 = 0;
    double max = 0;
    std::size_t count = 0;
};
Spread SpreadOf(std::vector<double> samples);

struct BenchFigure {
    std::string name;
    double value;  // the value, or the median of the samples
    std::string unit;
    std::string note;
    std::optional<double> max;
    std::optional<double> floor;

    std::optional<double> Ratio() const;
};

class BenchReport {
public:
    void Add(std::string name, double value, std::string unit, std::string note = "");
    // The samples' median as the value, and their maximum.
    void AddSpread(std::string name, const Spread& spread, std::string unit, std::string note = "");
    // The same beside the floor; the ratio is median / floor.
    void AddAgainstFloor(std::string name, const Spread& spread, double floor, std::string unit,
                         std::string note = "");
    void Print() const;
    bool WriteJson(const std::string& path) const;

private:
    void Keep(BenchFigure figure);

    std::vector<BenchFigure> figures_;
};

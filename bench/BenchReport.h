// Collects benchmark figures, prints them as a table and writes them as JSON.
#pragma once

#include <string>
#include <vector>

struct BenchFigure {
    std::string name;
    double value;
    std::string unit;
    std::string note;
};

class BenchReport {
public:
    void Add(std::string name, double value, std::string unit, std::string note = "");
    void Print() const;
    bool WriteJson(const std::string& path) const;

private:
    std::vector<BenchFigure> figures_;
};

// Median, 90th percentile and maximum of samples (milliseconds or any unit).
struct Spread {
    double median = 0;
    double p90 = 0;
    double max = 0;
};
Spread SpreadOf(std::vector<double> samples);

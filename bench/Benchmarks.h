// The benchmark sections; each adds its figures to the report.
#pragma once

#include "BenchReport.h"

#include <filesystem>

void BenchParse(BenchReport& report, const std::filesystem::path& temp);
void BenchWatcher(BenchReport& report, const std::filesystem::path& temp);
void BenchRoad(BenchReport& report, const std::filesystem::path& temp);
void BenchPieces(BenchReport& report, const std::filesystem::path& temp);
void BenchSoak(BenchReport& report, const std::filesystem::path& temp);
void BenchUser(BenchReport& report, const std::filesystem::path& temp);
void BenchUnload(BenchReport& report, const std::filesystem::path& temp);

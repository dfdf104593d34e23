// Shared set-up of the drawing tests: a host just started, a fresh temporary
// folder for geometry files (removed afterwards, also when a test fails), and
// short ways to call the host's drawing inside a context unit.
#pragma once

#include "CiDrawing.h"
#include "ContextUnit.h"
#include "SimControl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class DrawingTest : public ::testing::Test {
public:
    // A geometry file with one body of every kind.
    static std::string GoodGeometry();

protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a geometry file into the temporary folder; returns its path.
    std::string WriteGeometry(const std::string& name, const std::string& text) const;

    static sim::Json Reported(const std::string& path) { return sim::Report().at(path); }
    // The id of the last object in the drawing, or -1.
    static long LastObjectId();

    std::filesystem::path temp_;
};


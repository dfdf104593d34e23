// Test fixture for code that talks to the host: every test starts with a fresh
// host stand-in, its own empty temporary folder and its own environment
// variables, and leaves none of them behind.
#pragma once

#include "SimControl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets (or, with nullopt, removes) a variable of this process for this test.
    void SetEnv(const std::string& name, std::optional<std::string> value);
    // A fresh folder for this test, removed afterwards.
    const std::filesystem::path& Temp() const { return temp_; }
    // Lays out the catalog's two start files under `root` (only those asked for).
    std::filesystem::path MakeInstallation(const std::string& name, bool scriptHost = true,
                                           bool startScript = true) const;
    // Writes a file, making its folders.
    static void WriteFile(const std::filesystem::path& path, const std::string& text);
    // Points every place start-up may look at into the temporary folder, so that
    // nothing of the machine is found by accident.
    void IsolateStartup();

    static sim::Json Reported(const std::string& path) { return sim::Report().at(path); }
    static std::string Native(const std::filesystem::path& path) { return path.string(); }

private:
    std::filesystem::path temp_;
    std::map<std::string, std::optional<std::string>> savedEnvironment_;
};

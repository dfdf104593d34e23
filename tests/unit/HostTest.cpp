// Test fixture for code that talks to the host.
#include "HostTest.h"

#include "tarnvelMain.h"

#include <windows.h>

#include <fstream>

namespace {

std::optional<std::string> Variable(const std::string& name)
{
    char buffer[32768];
    DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return std::nullopt;
    return std::string(buffer, length);
}

}  // namespace

void HostTest::SetUp()
{
    sim::ResetHost();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    temp_ = std::filesystem::temp_directory_path() /
            (std::string("tarnvel-") + test->test_suite_name() + "-" + test->name() + "-" +
             std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(temp_);
    std::filesystem::create_directories(temp_);
    SetEnv("MERIDAX_LANGUAGE", std::nullopt);
}

void HostTest::TearDown()
{
    End();
    sim::RunPending();
    for (const auto& [name, value] : savedEnvironment_)
        SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(temp_, ignored);
}

void HostTest::SetEnv(const std::string& name, std::optional<std::string> value)
{
    if (!savedEnvironment_.count(name))
        savedEnvironment_[name] = Variable(name);
    SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
}

std::filesystem::path HostTest::MakeInstallation(const std::string& name, bool scriptHost,
                                                 bool startScript) const
{
    std::filesystem::path root = temp_ / name;
    std::filesystem::create_directories(root);
    if (scriptHost)
        WriteFile(root / "bin" / "x86" / "64" / "cscripthost.exe", "");
    if (startScript)
        WriteFile(root / "setup" / "scripts" / "common" / "startvestra_tarnvel.vbb", "");
    return root;
}

void HostTest::WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

void HostTest::IsolateStartup()
{
    SetEnv("SUITE_DIR", Native(temp_ / "suite"));
    SetEnv("KVT_TARNVEL_ROOT_DIR", std::nullopt);
    SetEnv("HD_VE", std::nullopt);
    SetEnv("HD_LA", std::nullopt);
    SetEnv("KVT_TARNVEL_EXPORT_DIR", Native(temp_));
}

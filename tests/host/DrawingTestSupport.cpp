// Shared set-up of the drawing tests.
#include "DrawingTestSupport.h"

#include <windows.h>

#include <fstream>

void DrawingTest::SetUp()
{
    sim::ResetHost();
    temp_ = std::filesystem::temp_directory_path() /
            ("simhost-drawing-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(GetTickCount64()));
    std::filesystem::create_directories(temp_);
}

void DrawingTest::TearDown()
{
    sim::ResetHost();
    std::error_code ignored;
    std::filesystem::remove_all(temp_, ignored);
}

std::string DrawingTest::WriteGeometry(const std::string& name, const std::string& text) const
{
    std::filesystem::path path = temp_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

std::string DrawingTest::GoodGeometry()
{
    return "TARNVEL-GEOMETRY 1\n"
           "part HEXBOLT ISO 4017 - M8x40 - 8.8\n"
           "format STEP\n"
           "units mm\n"
           "cylinder 0 0 0 4 40\n"
           "hexprism 0 0 -5.3 13 5.3\n"
           "hextube 1 2 3 13 4 6.5\n"
           "tube 0 0 0 8 4.3 1.6\n"
           "sphere 0 0 10 3.5\n"
           "end\n";
}

long DrawingTest::LastObjectId()
{
    sim::Json id = Reported("drawing.objects[-1].id");
    return id.isNull() ? -1 : static_cast<long>(id.number());
}

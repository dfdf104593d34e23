// A warning record: the raising code fills its message; when the record goes out
// of scope it writes one line to the host's error log,
// "<file, padded to 12>(<line, 4 wide>) <function>: <message>".
#pragma once

#include <sstream>
#include <string>

namespace Debug {

class Warning {
public:
    Warning(std::string file, std::string function, int line);
    virtual ~Warning();
    Warning(const Warning&) = delete;
    Warning& operator=(const Warning&) = delete;

    template <class Text>
    Warning& operator<<(const Text& text)
    {
        message << text;
        return *this;
    }

private:
    std::string file;
    std::string function;
    int line;
    std::stringstream message;
};

}  // namespace Debug

// The host's string: 8-bit text in the process's ANSI code page.
#include "UtCString.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

std::string formatArguments(const char* format, va_list arguments)
{
    va_list measuring;
    va_copy(measuring, arguments);
    int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, arguments);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string narrow(const wchar_t* text, std::size_t length)
{
    if (length == 0)
        return std::string();
    int wide = static_cast<int>(length);
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wide, &result[0], bytes, nullptr, nullptr);
    return result;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

UtCString::UtCString() = default;
UtCString::UtCString(const char* text) : text_(text ? text : "") {}
UtCString::UtCString(const std::string& text) : text_(text) {}
UtCString::UtCString(const wchar_t* text, std::size_t length) : text_(narrow(text, length)) {}
UtCString::UtCString(const std::wstring& text) : text_(narrow(text.data(), text.size())) {}

const std::string& UtCString::string() const noexcept { return text_; }

std::wstring UtCString::ustring() const
{
    if (text_.empty())
        return std::wstring();
    int bytes = static_cast<int>(text_.size());
    int length = MultiByteToWideChar(CP_ACP, 0, text_.data(), bytes, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text_.data(), bytes, &result[0], length);
    return result;
}

const char* UtCString::c_str() const noexcept { return text_.c_str(); }
std::size_t UtCString::length() const noexcept { return text_.size(); }
bool UtCString::empty() const noexcept { return text_.empty(); }

UtCString UtCString::operator+(const UtCString& other) const { return UtCString(text_ + other.text_); }

UtCString& UtCString::operator+=(const UtCString& other)
{
    text_ += other.text_;
    return *this;
}

UtCString& UtCString::Append(const UtCString& other) { return *this += other; }

UtCString& UtCString::AppendFormat(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    text_ += formatArguments(format, arguments);
    va_end(arguments);
    return *this;
}

bool UtCString::operator==(const UtCString& other) const noexcept { return text_ == other.text_; }
bool UtCString::operator!=(const UtCString& other) const noexcept { return text_ != other.text_; }
bool UtCString::operator<(const UtCString& other) const noexcept { return text_ < other.text_; }

bool UtCString::Contains(const UtCString& part) const noexcept
{
    return text_.find(part.text_) != std::string::npos;
}

UtCString UtCString::substr(std::size_t start, std::size_t count) const
{
    if (start >= text_.size())
        return UtCString();
    return UtCString(text_.substr(start, count));
}

UtCString& UtCString::Format(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    text_ = formatArguments(format, arguments);
    va_end(arguments);
    return *this;
}

UtCString& UtCString::FormatStringList(const UtCString& pattern, const UtCStringList& values)
{
    std::string result;
    std::size_t next = 0;
    const std::string& text = pattern.text_;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's') {
            if (next < values.size())
                result += values[next].text_;
            ++next;
            ++i;
        } else if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            result += '%';
            ++i;
        } else {
            result += text[i];
        }
    }
    text_ = result;
    return *this;
}

UtCString UtCString::StandardizePath(const UtCString& path)
{
    const std::string& text = path.text_;
    std::string result;
    std::size_t start = 0;
    if (text.size() >= 2 && isSeparator(text[0]) && isSeparator(text[1])) {
        result = "\\\\";
        start = 2;
    }
    for (std::size_t i = start; i < text.size(); ++i) {
        if (!isSeparator(text[i]))
            result += text[i];
        else if (result.empty() || result.back() != '\\')
            result += '\\';
    }
    bool isDriveRoot = result.size() == 3 && result[1] == ':';
    bool isRoot = result == "\\" || result == "\\\\";
    while (result.size() > 1 && result.back() == '\\' && !isDriveRoot && !isRoot)
        result.pop_back();
    return UtCString(result);
}

int UtCString::toCharArray(char* buffer, int maxChars, int encoding) const
{
    if (!buffer || maxChars < 0)
        return 0;
    std::string converted = text_;
    if (encoding == UT_ENCODING_UTF8) {
        std::wstring wide = ustring();
        int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
        converted.assign(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &converted[0],
                            bytes, nullptr, nullptr);
    }
    std::size_t count = converted.size() < static_cast<std::size_t>(maxChars)
                            ? converted.size()
                            : static_cast<std::size_t>(maxChars);
    std::memcpy(buffer, converted.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

// The host's string: 8-bit text in the host's default encoding, with conversion to
// and from 16-bit text, printf-style and list formatting, comparison and path
// standardisation. Every string that crosses the host boundary is one of these.
#pragma once

#include "HostApi.h"

#include <cstddef>
#include <string>
#include <vector>

class UtCString;
using UtCStringList = std::vector<UtCString>;

// Encodings accepted by UtCString::toCharArray.
enum UtEncoding : int {
    UT_ENCODING_DEFAULT = 0,  // the host's 8-bit default code page
    UT_ENCODING_UTF8 = 1,
};

class HOST_API UtCString {
public:
    static constexpr std::size_t npos = std::string::npos;

    UtCString();
    UtCString(const char* text);
    UtCString(const std::string& text);
    UtCString(const wchar_t* text, std::size_t length);
    explicit UtCString(const std::wstring& text);

    const std::string& string() const noexcept;
    std::wstring ustring() const;
    const char* c_str() const noexcept;
    std::size_t length() const noexcept;
    bool empty() const noexcept;

    UtCString operator+(const UtCString& other) const;
    UtCString& operator+=(const UtCString& other);
    UtCString& Append(const UtCString& other);
    UtCString& AppendFormat(const char* format, ...);

    // Equality and order look at the bytes: letter case counts.
    bool operator==(const UtCString& other) const noexcept;
    bool operator!=(const UtCString& other) const noexcept;
    bool operator<(const UtCString& other) const noexcept;

    bool Contains(const UtCString& part) const noexcept;
    // Like std::string::substr, but a start beyond the end gives an empty text.
    UtCString substr(std::size_t start, std::size_t count = npos) const;

    // Replaces the text with the printf-style formatted arguments.
    UtCString& Format(const char* format, ...);
    // Replaces the text with the pattern, each "%s" filled from the list in order
    // ("%%" gives "%"); a "%s" beyond the end of the list is left empty.
    UtCString& FormatStringList(const UtCString& pattern, const UtCStringList& values);

    // Backslashes for slashes, runs of separators collapsed (a leading "\\" of a
    // network path kept), no trailing separator except after a drive ("C:\").
    static UtCString StandardizePath(const UtCString& path);

    // Copies at most maxChars characters and a terminating zero into buffer, which
    // must hold maxChars + 1 bytes. Returns the number of characters copied.
    int toCharArray(char* buffer, int maxChars, int encoding = UT_ENCODING_DEFAULT) const;

private:
    std::string text_;
};

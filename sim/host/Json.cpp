// A small JSON value for the host stand-in's reports.
#include "Json.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <cstdlib>

namespace sim {

Json::Json() = default;
Json::Json(bool value) : kind_(Kind::Bool), flag_(value) {}
Json::Json(int value) : kind_(Kind::Number), number_(value) {}
Json::Json(long value) : kind_(Kind::Number), number_(static_cast<double>(value)) {}
Json::Json(long long value) : kind_(Kind::Number), number_(static_cast<double>(value)) {}
Json::Json(unsigned long value) : kind_(Kind::Number), number_(static_cast<double>(value)) {}
Json::Json(double value) : kind_(Kind::Number), number_(value) {}
Json::Json(const char* value) : kind_(Kind::String), text_(value ? value : "") {}
Json::Json(std::string value) : kind_(Kind::String), text_(std::move(value)) {}

Json Json::array()
{
    Json value;
    value.kind_ = Kind::Array;
    return value;
}

Json Json::object()
{
    Json value;
    value.kind_ = Kind::Object;
    return value;
}

namespace {

// A small reader of JSON text, for literals in scripts.
class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    bool ReadWhole(Json& value)
    {
        return ReadValue(value) && (SkipBlanks(), position_ == text_.size());
    }

private:
    void SkipBlanks()
    {
        while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[position_])))
            ++position_;
    }
    bool Take(char c)
    {
        SkipBlanks();
        if (position_ < text_.size() && text_[position_] == c) {
            ++position_;
            return true;
        }
        return false;
    }
    bool TakeWord(const char* word)
    {
        std::size_t length = std::strlen(word);
        if (text_.compare(position_, length, word) != 0)
            return false;
        position_ += length;
        return true;
    }
    bool ReadString(std::string& out)
    {
        if (!Take('"'))
            return false;
        while (position_ < text_.size()) {
            char c = text_[position_++];
            if (c == '"')
                return true;
            if (c != '\\') {
                out += c;
            } else if (position_ < text_.size()) {
                char escaped = text_[position_++];
                out += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped == 't' ? '\t' : escaped;
            }
        }
        return false;
    }
    bool ReadNumber(Json& value)
    {
        const char* start = text_.c_str() + position_;
        char* end = nullptr;
        double number = std::strtod(start, &end);
        if (end == start)
            return false;
        position_ += static_cast<std::size_t>(end - start);
        value = Json(number);
        return true;
    }
    bool ReadArray(Json& value)
    {
        value = Json::array();
        if (Take(']'))
            return true;
        do {
            Json item;
            if (!ReadValue(item))
                return false;
            value.push(std::move(item));
        } while (Take(','));
        return Take(']');
    }
    bool ReadObject(Json& value)
    {
        value = Json::object();
        if (Take('}'))
            return true;
        do {
            std::string key;
            Json member;
            if (!ReadString(key) || !Take(':') || !ReadValue(member))
                return false;
            value.set(key, std::move(member));
        } while (Take(','));
        return Take('}');
    }
    bool ReadValue(Json& value)
    {
        SkipBlanks();
        if (Take('['))
            return ReadArray(value);
        if (Take('{'))
            return ReadObject(value);
        if (position_ < text_.size() && text_[position_] == '"') {
            std::string text;
            if (!ReadString(text))
                return false;
            value = Json(text);
            return true;
        }
        if (TakeWord("true"))
            return value = Json(true), true;
        if (TakeWord("false"))
            return value = Json(false), true;
        if (TakeWord("null"))
            return value = Json(), true;
        return ReadNumber(value);
    }

    const std::string& text_;
    std::size_t position_ = 0;
};

}  // namespace

Json Json::literal(const std::string& text)
{
    Json value;
    if (Reader(text).ReadWhole(value))
        return value;
    return Json(text);
}

Json& Json::push(Json value)
{
    items_.push_back(std::move(value));
    return items_.back();
}

Json& Json::set(const std::string& key, Json value)
{
    for (auto& member : members_) {
        if (member.first == key) {
            member.second = std::move(value);
            return member.second;
        }
    }
    members_.emplace_back(key, std::move(value));
    return members_.back().second;
}

Json& Json::member(const std::string& key)
{
    for (auto& entry : members_)
        if (entry.first == key)
            return entry.second;
    return set(key, Json());
}

Json& Json::item(std::size_t index) { return items_.at(index); }

std::size_t Json::size() const noexcept
{
    switch (kind_) {
    case Kind::Array: return items_.size();
    case Kind::Object: return members_.size();
    case Kind::String: return text_.size();
    default: return 0;
    }
}

namespace {

// Splits `a.b[2].c` into the steps a, b, [2], c.
std::vector<std::string> pathSteps(const std::string& path)
{
    std::vector<std::string> steps;
    std::string current;
    auto flush = [&] {
        if (!current.empty())
            steps.push_back(current);
        current.clear();
    };
    for (char c : path) {
        if (c == '.') {
            flush();
        } else if (c == '[') {
            flush();
            current = "[";
        } else if (c == ']') {
            current += c;
            flush();
        } else {
            current += c;
        }
    }
    flush();
    return steps;
}

}  // namespace

Json Json::at(const std::string& path) const
{
    Json current = *this;
    for (const std::string& step : pathSteps(path)) {
        if (step.front() == '[') {
            if (current.kind_ != Kind::Array)
                return Json();
            long index = std::strtol(step.c_str() + 1, nullptr, 10);
            long count = static_cast<long>(current.items_.size());
            if (index < 0)
                index += count;
            if (index < 0 || index >= count)
                return Json();
            current = Json(current.items_[static_cast<std::size_t>(index)]);
            continue;
        }
        if (current.kind_ == Kind::Object) {
            const Json* found = nullptr;
            for (const auto& member : current.members_)
                if (member.first == step)
                    found = &member.second;
            if (found) {
                current = Json(*found);
                continue;
            }
        }
        if (step == "length" && current.kind_ != Kind::Null) {
            current = Json(static_cast<long long>(current.size()));
            continue;
        }
        return Json();
    }
    return current;
}

namespace {

void writeString(const std::string& text, std::string& out)
{
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

void writeNumber(double value, std::string& out)
{
    char buffer[40];
    if (std::floor(value) == value && std::fabs(value) < 1e15)
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    else
        // The shortest text that reads back as the same number: 5.3, not 5.2999999999999998.
        for (int digits = 15; digits <= 17; ++digits) {
            std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
            if (std::strtod(buffer, nullptr) == value)
                break;
        }
    out += buffer;
}

void writeValue(const Json& value, std::string& out)
{
    switch (value.kind()) {
    case Json::Kind::Null: out += "null"; break;
    case Json::Kind::Bool: out += value.flag() ? "true" : "false"; break;
    case Json::Kind::Number: writeNumber(value.number(), out); break;
    case Json::Kind::String: writeString(value.text(), out); break;
    case Json::Kind::Array: {
        out += '[';
        const char* separator = "";
        for (const Json& item : value.items()) {
            out += separator;
            writeValue(item, out);
            separator = ",";
        }
        out += ']';
        break;
    }
    case Json::Kind::Object: {
        out += '{';
        const char* separator = "";
        for (const auto& member : value.members()) {
            out += separator;
            writeString(member.first, out);
            out += ':';
            writeValue(member.second, out);
            separator = ",";
        }
        out += '}';
        break;
    }
    }
}

}  // namespace

std::string Json::write() const
{
    std::string out;
    writeValue(*this, out);
    return out;
}

bool Json::operator==(const Json& other) const
{
    if (kind_ != other.kind_)
        return false;
    switch (kind_) {
    case Kind::Null: return true;
    case Kind::Bool: return flag_ == other.flag_;
    case Kind::Number: return number_ == other.number_;
    case Kind::String: return text_ == other.text_;
    default: return write() == other.write();
    }
}

}  // namespace sim

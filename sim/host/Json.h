// A small JSON value for the host stand-in's reports: built in code, written as
// one line of text, and searched with a path such as `messages[0].texts[1]`.
#pragma once

#include "SimApi.h"

#include <string>
#include <utility>
#include <vector>

namespace sim {

class SIM_API Json {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Json();
    Json(bool value);
    Json(int value);
    Json(long value);
    Json(long long value);
    Json(unsigned long value);
    Json(double value);
    Json(const char* value);
    Json(std::string value);
    static Json array();
    static Json object();
    // Reads one JSON value (number, string, true, false, null, array or object).
    // Text that is no JSON is taken as a string as it stands.
    static Json literal(const std::string& text);

    Kind kind() const noexcept { return kind_; }
    bool isNull() const noexcept { return kind_ == Kind::Null; }

    Json& push(Json value);                        // arrays
    Json& set(const std::string& key, Json value); // objects: keeps insertion order
    std::size_t size() const noexcept;             // arrays, objects, strings
    Json& member(const std::string& key);          // objects: made null when missing
    Json& item(std::size_t index);                 // arrays: the index must exist

    double number() const noexcept { return number_; }
    const std::string& text() const noexcept { return text_; }
    bool flag() const noexcept { return flag_; }
    // On a temporary value these give their own copy, so that a loop over
    // `Report().at("x").items()` never walks a destroyed list.
    const std::vector<Json>& items() const& noexcept { return items_; }
    std::vector<Json> items() && { return std::move(items_); }
    const std::vector<std::pair<std::string, Json>>& members() const& noexcept { return members_; }
    std::vector<std::pair<std::string, Json>> members() && { return std::move(members_); }

    // The value at a path of keys and [index] steps; a negative index counts from
    // the end and the step `length` gives the size of an array, object or string.
    // Null when the path leads nowhere.
    Json at(const std::string& path) const;

    std::string write() const;
    bool operator==(const Json& other) const;

private:
    Kind kind_ = Kind::Null;
    bool flag_ = false;
    double number_ = 0;
    std::string text_;
    std::vector<Json> items_;
    std::vector<std::pair<std::string, Json>> members_;
};

}  // namespace sim

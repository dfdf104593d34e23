// The outcome of one viewer action (take, release, open a part): success or not, and
// a text for the automation reply and the log.
#pragma once

#include <string>

namespace catalog {

struct ActionResult {
    bool ok = false;
    std::string text;

    static ActionResult success(std::string text) { return {true, std::move(text)}; }
    static ActionResult failure(std::string text) { return {false, std::move(text)}; }
};

}  // namespace catalog

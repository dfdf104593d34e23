// Mident reading and writing; see Mident.h.
#include "common/Mident.h"

#include <cctype>

namespace catalog {

namespace {

bool isNameCharacter(char c) {
    return std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) ||
           c == '_';
}

bool isValidName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name) {
        if (!isNameCharacter(c)) return false;
    }
    return true;
}

bool isValidValue(const std::string& value) {
    if (value.empty()) return false;
    return value.find_first_of("{}, \t") == std::string::npos;
}

std::string trimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// One "{NAME=value}" field, blanks around it allowed.
std::string parseField(const std::string& rawField, Variables& variables) {
    const std::string field = trimBlanks(rawField);
    if (field.size() < 2 || field.front() != '{' || field.back() != '}') {
        return "variable field '" + field + "' is not in braces";
    }
    const std::string inner = field.substr(1, field.size() - 2);
    const size_t equals = inner.find('=');
    if (equals == std::string::npos) {
        return "variable field '" + field + "' has no '='";
    }
    const std::string name = inner.substr(0, equals);
    const std::string value = inner.substr(equals + 1);
    if (!isValidName(name) || !isValidValue(value)) {
        return "variable field '" + field + "' is malformed";
    }
    if (findVariable(variables, name) != nullptr) {
        return "variable " + name + " given twice";
    }
    variables.emplace_back(name, value);
    return {};
}

std::string parseFields(const std::string& text, Variables& variables) {
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string field = text.substr(start, comma == std::string::npos ? std::string::npos
                                                                                 : comma - start);
        std::string error = parseField(field, variables);
        if (!error.empty()) return error;
        if (comma == std::string::npos) return {};
        start = comma + 1;
    }
}

}  // namespace

MidentParseResult parseMident(const std::string& text) {
    MidentParseResult result;
    if (text.rfind("{$", 0) != 0) {
        result.error = "mident does not start with {$";
        return result;
    }
    const size_t projectEnd = text.find("},", 2);
    if (projectEnd == std::string::npos) {
        result.error = "mident project is not closed by },";
        return result;
    }
    result.mident.project = text.substr(2, projectEnd - 2);
    if (result.mident.project.empty() ||
        result.mident.project.find_first_of("{}, \t") != std::string::npos) {
        result.error = "mident project is malformed";
        return result;
    }
    const size_t tailStart = projectEnd + 2;
    const size_t tailEnd = text.find(' ', tailStart);
    result.mident.tail = text.substr(tailStart, tailEnd == std::string::npos ? std::string::npos
                                                                             : tailEnd - tailStart);
    if (result.mident.tail.empty() ||
        result.mident.tail.find_first_of("{},\t") != std::string::npos) {
        result.error = "mident tail is malformed";
        return result;
    }
    const std::string fields = tailEnd == std::string::npos ? "" : trimBlanks(text.substr(tailEnd));
    if (!fields.empty()) {
        result.error = parseFields(fields, result.mident.variables);
    }
    return result;
}

std::string formatMident(const Mident& mident) {
    std::string text = "{$" + mident.project + "}," + mident.tail + " ";
    for (size_t i = 0; i < mident.variables.size(); ++i) {
        if (i > 0) text += ",";
        text += "{" + mident.variables[i].first + "=" + mident.variables[i].second + "}";
    }
    return text;
}

const std::string* findVariable(const Variables& variables, const std::string& name) {
    for (const auto& variable : variables) {
        if (variable.first == name) return &variable.second;
    }
    return nullptr;
}

}  // namespace catalog

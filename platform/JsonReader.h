#pragma once
// A strict JSON reader (RFC 8259) for the palettes other tools exchange: each
// value keeps the line it starts on, so a fault can be named by line.

#include <string>
#include <utility>
#include <vector>

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // a string's value, UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;  // in file order
    int line = 1;

    // The member named `key`, or null.
    const JsonValue* Find(const std::string& key) const;
};

// False with the line and reason of the first fault. Nesting deeper than 64
// is refused.
bool ParseJson(const std::string& text, JsonValue& value, int& errorLine, std::string& reason);

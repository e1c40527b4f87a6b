#include "JsonOut.h"

#include <cmath>
#include <cstdio>

void JsonOut::Separate()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back())
            text_ += ',';
        first_.back() = false;
    }
}

JsonOut& JsonOut::Open(char bracket)
{
    Separate();
    text_ += bracket;
    first_.push_back(true);
    return *this;
}

JsonOut& JsonOut::Close(char bracket)
{
    text_ += bracket;
    first_.pop_back();
    return *this;
}

JsonOut& JsonOut::Key(const std::string& name)
{
    Value(name);
    text_ += ':';
    afterKey_ = true;
    return *this;
}

JsonOut& JsonOut::Value(const std::string& text)
{
    Separate();
    text_ += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': text_ += "\\\""; break;
        case '\\': text_ += "\\\\"; break;
        case '\n': text_ += "\\n"; break;
        case '\r': text_ += "\\r"; break;
        case '\t': text_ += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
                text_ += escaped;
            } else {
                text_ += ch;  // UTF-8 passes as it is
            }
        }
    }
    text_ += '"';
    return *this;
}

JsonOut& JsonOut::Value(long long number)
{
    Separate();
    text_ += std::to_string(number);
    return *this;
}

JsonOut& JsonOut::Value(double number)
{
    Separate();
    if (!std::isfinite(number)) {
        text_ += "null";
        return *this;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", number);
    text_ += text;
    return *this;
}

JsonOut& JsonOut::Value(bool flag)
{
    Separate();
    text_ += flag ? "true" : "false";
    return *this;
}

JsonOut& JsonOut::Null()
{
    Separate();
    text_ += "null";
    return *this;
}

JsonOut& JsonOut::Bytes(const std::vector<std::uint8_t>& bytes)
{
    BeginArray();
    for (const std::uint8_t b : bytes)
        Value(static_cast<long long>(b));
    return EndArray();
}

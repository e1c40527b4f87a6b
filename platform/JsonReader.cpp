#include "JsonReader.h"

#include "TextEncoding.h"

#include "IntegerSyntax.h"

#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int MaxDepth = 64;

class Parser {
public:
    explicit Parser(const std::string& text) : s_(text) {}

    bool Document(JsonValue& v)
    {
        Space();
        if (!Value(v, 0))
            return false;
        Space();
        return at_ == s_.size() || Fail("more after the value");
    }
    int line = 1;
    std::string reason;

private:
    bool Fail(const std::string& why)
    {
        if (reason.empty())
            reason = why;
        return false;
    }
    void Space()
    {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r')) {
            line += s_[at_] == '\n';
            ++at_;
        }
    }
    bool Literal(const char* word)
    {
        const std::string w(word);
        if (s_.compare(at_, w.size(), w) != 0)
            return Fail("unexpected text");
        at_ += w.size();
        return true;
    }
    bool Value(JsonValue& v, int depth)
    {
        if (depth >= MaxDepth)
            return Fail("nested too deeply");
        v.line = line;
        if (at_ >= s_.size())
            return Fail("a value is missing");
        switch (s_[at_]) {
        case '{':
            return Object(v, depth);
        case '[':
            return Array(v, depth);
        case '"':
            v.type = JsonValue::Type::String;
            return String(v.text);
        case 't':
            v.type = JsonValue::Type::Bool;
            v.boolean = true;
            return Literal("true");
        case 'f':
            v.type = JsonValue::Type::Bool;
            return Literal("false");
        case 'n':
            return Literal("null");
        default:
            return Number(v);
        }
    }
    bool Object(JsonValue& v, int depth)
    {
        v.type = JsonValue::Type::Object;
        ++at_;
        Space();
        if (at_ < s_.size() && s_[at_] == '}') {
            ++at_;
            return true;
        }
        for (;;) {
            Space();
            std::string key;
            if (at_ >= s_.size() || s_[at_] != '"')
                return Fail("a member name in double quotes is expected");
            if (!String(key))
                return false;
            Space();
            if (at_ >= s_.size() || s_[at_] != ':')
                return Fail("':' is expected after a member name");
            ++at_;
            Space();
            JsonValue member;
            if (!Value(member, depth + 1))
                return false;
            v.members.emplace_back(std::move(key), std::move(member));
            Space();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == '}') {
                ++at_;
                return true;
            }
            return Fail("',' or '}' is expected");
        }
    }
    bool Array(JsonValue& v, int depth)
    {
        v.type = JsonValue::Type::Array;
        ++at_;
        Space();
        if (at_ < s_.size() && s_[at_] == ']') {
            ++at_;
            return true;
        }
        for (;;) {
            Space();
            JsonValue item;
            if (!Value(item, depth + 1))
                return false;
            v.items.push_back(std::move(item));
            Space();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == ']') {
                ++at_;
                return true;
            }
            return Fail("',' or ']' is expected");
        }
    }
    bool Hex4(unsigned& cp)
    {
        if (at_ + 4 > s_.size())
            return Fail("a \\u escape needs four hex digits");
        cp = 0;
        for (int i = 0; i < 4; ++i) {
            const int d = HexDigit(s_[at_++]);
            if (d < 0)
                return Fail("a \\u escape needs four hex digits");
            cp = cp * 16 + unsigned(d);
        }
        return true;
    }
    bool String(std::string& out)
    {
        ++at_;  // the opening quote
        for (;;) {
            if (at_ >= s_.size())
                return Fail("a string is not closed");
            const unsigned char c = static_cast<unsigned char>(s_[at_++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return Fail("a control character in a string");
            if (c != '\\') {
                out += char(c);
                continue;
            }
            if (at_ >= s_.size())
                return Fail("a string is not closed");
            const char e = s_[at_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned cp = 0;
                if (!Hex4(cp))
                    return false;
                if (cp >= 0xD800 && cp < 0xDC00) {
                    unsigned low = 0;
                    if (s_.compare(at_, 2, "\\u") != 0)
                        return Fail("a lone surrogate in a \\u escape");
                    at_ += 2;
                    if (!Hex4(low) || low < 0xDC00 || low >= 0xE000)
                        return Fail("a lone surrogate in a \\u escape");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else if (cp >= 0xDC00 && cp < 0xE000) {
                    return Fail("a lone surrogate in a \\u escape");
                }
                AppendUtf8(out, cp);
                break;
            }
            default:
                return Fail("an unknown escape in a string");
            }
        }
    }
    bool Number(JsonValue& v)
    {
        const std::size_t start = at_;
        const auto digits = [&] {
            const std::size_t from = at_;
            while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9')
                ++at_;
            return at_ > from;
        };
        if (at_ < s_.size() && s_[at_] == '-')
            ++at_;
        if (at_ < s_.size() && s_[at_] == '0')
            ++at_;
        else if (!digits())
            return Fail("unexpected text");
        if (at_ < s_.size() && s_[at_] == '.') {
            ++at_;
            if (!digits())
                return Fail("a number needs digits after its point");
        }
        if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
            ++at_;
            if (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-'))
                ++at_;
            if (!digits())
                return Fail("a number needs digits in its exponent");
        }
        v.type = JsonValue::Type::Number;
        // Whatever the process's locale says of decimal points.
#if defined(__cpp_lib_to_chars)
        const auto [end, error] = std::from_chars(s_.data() + start, s_.data() + at_, v.number);
        const bool read = error == std::errc();
#else
        // A C++ library without from_chars for doubles (the browser's): the
        // C reader, whose locale there is always "C".
        const std::string text = s_.substr(start, at_ - start);
        errno = 0;
        v.number = std::strtod(text.c_str(), nullptr);
        const bool read = errno == 0;
#endif
        return (read && std::isfinite(v.number)) || Fail("a number out of range");
    }

    const std::string& s_;
    std::size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Find(const std::string& key) const
{
    for (const auto& [name, value] : members)
        if (name == key)
            return &value;
    return nullptr;
}

bool ParseJson(const std::string& text, JsonValue& value, int& errorLine, std::string& reason)
{
    Parser parser(text);
    if (parser.Document(value))
        return true;
    errorLine = parser.line;
    reason = parser.reason;
    return false;
}

#pragma once
// A small writer of JSON text, for the answers the browser edition's core
// gives its page: objects and arrays opened and closed in order, commas
// placed by the writer, strings escaped.

#include <cstdint>
#include <string>
#include <vector>

class JsonOut {
public:
    JsonOut& Begin() { return Open('{'); }
    JsonOut& End() { return Close('}'); }
    JsonOut& BeginArray() { return Open('['); }
    JsonOut& EndArray() { return Close(']'); }
    // The name of the next member of an object.
    JsonOut& Key(const std::string& name);
    JsonOut& Value(const std::string& text);
    JsonOut& Value(const char* text) { return Value(std::string(text)); }
    JsonOut& Value(long long number);
    JsonOut& Value(int number) { return Value(static_cast<long long>(number)); }
    JsonOut& Value(std::uint32_t number) { return Value(static_cast<long long>(number)); }
    JsonOut& Value(double number);
    JsonOut& Value(bool flag);
    JsonOut& Null();
    JsonOut& Bytes(const std::vector<std::uint8_t>& bytes);

    template <typename T>
    JsonOut& Member(const std::string& name, const T& value)
    {
        Key(name);
        return Value(value);
    }

    const std::string& Text() const { return text_; }

private:
    JsonOut& Open(char bracket);
    JsonOut& Close(char bracket);
    void Separate();

    std::string text_;
    std::vector<bool> first_;  // per open bracket: nothing written in it yet
    bool afterKey_ = false;
};

#pragma once
// What a request of the page says: its members, read leniently (a member
// missing or of another type reads as nothing), for the request handlers.

#include "ColorText.h"
#include "JsonReader.h"
#include "ThemeSlots.h"

#include <optional>
#include <string>

namespace request {

inline std::string Text(const JsonValue& request, const char* key)
{
    const JsonValue* v = request.Find(key);
    return v && v->type == JsonValue::Type::String ? v->text : std::string();
}

// A whole number, or `fallback` when the member is missing or no number.
inline int Number(const JsonValue& request, const char* key, int fallback)
{
    const JsonValue* v = request.Find(key);
    if (!v || v->type != JsonValue::Type::Number || v->number < -2147483647.0 || v->number > 2147483647.0)
        return fallback;
    return static_cast<int>(v->number);
}

inline bool Flag(const JsonValue& request, const char* key)
{
    const JsonValue* v = request.Find(key);
    return v && v->type == JsonValue::Type::Bool && v->boolean;
}

inline std::optional<SlotId> SlotOf(const JsonValue& request, const char* key)
{
    const int slot = Number(request, key, -1);
    if (slot < 0 || slot >= static_cast<int>(ThemeSlotCount))
        return std::nullopt;
    return static_cast<SlotId>(slot);
}

inline std::optional<TColor> ColorOf(const JsonValue& request, const char* key)
{
    TColor color = 0;
    if (!ParseColorText(Text(request, key), color))
        return std::nullopt;
    return color;
}

}  // namespace request

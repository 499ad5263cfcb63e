#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace browser {

// What a page answers or receives: the null value, a boolean, a number or a
// text, like the variants a document model hands out.
class Value {
public:
    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool b) : m_data(b) {}
    Value(int n) : m_data(static_cast<double>(n)) {}
    Value(int64_t n) : m_data(static_cast<double>(n)) {}
    Value(double n) : m_data(n) {}
    Value(const char* text) : m_data(std::string(text)) {}
    Value(std::string text) : m_data(std::move(text)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(m_data); }
    bool isBool() const { return std::holds_alternative<bool>(m_data); }
    bool isNumber() const { return std::holds_alternative<double>(m_data); }
    bool isText() const { return std::holds_alternative<std::string>(m_data); }

    // Each accessor throws when the value holds another kind.
    bool asBool() const;
    double asNumber() const;
    const std::string& asText() const;

    // The text form: "" for null, "true"/"false", integers without decimals.
    std::string toText() const;

    bool operator==(const Value& other) const = default;

private:
    std::string kindName() const;

    std::variant<std::monostate, bool, double, std::string> m_data;
};

} // namespace browser

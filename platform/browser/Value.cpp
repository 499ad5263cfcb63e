#include "platform/browser/Value.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace browser {

bool Value::asBool() const {
    if (!isBool())
        throw std::runtime_error("Could not convert variant of type (" + kindName() +
                                 ") into type (Boolean)");
    return std::get<bool>(m_data);
}

double Value::asNumber() const {
    if (!isNumber())
        throw std::runtime_error("Could not convert variant of type (" + kindName() +
                                 ") into type (Double)");
    return std::get<double>(m_data);
}

const std::string& Value::asText() const {
    if (!isText())
        throw std::runtime_error("Could not convert variant of type (" + kindName() +
                                 ") into type (String)");
    return std::get<std::string>(m_data);
}

std::string Value::toText() const {
    if (isBool())
        return std::get<bool>(m_data) ? "true" : "false";
    if (isText())
        return std::get<std::string>(m_data);
    if (isNumber()) {
        double n = std::get<double>(m_data);
        char buffer[64];
        if (std::nearbyint(n) == n && std::fabs(n) < 1e15)
            std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(n));
        else
            std::snprintf(buffer, sizeof buffer, "%.17g", n);
        return buffer;
    }
    return "";
}

std::string Value::kindName() const {
    if (isNull())
        return "Null";
    if (isBool())
        return "Boolean";
    if (isNumber())
        return "Double";
    return "String";
}

} // namespace browser

#include "core/XMLAttributes.h"

#include "core/NumberConversion.h"
#include "core/XMLError.h"

namespace OKU {

const std::string& XMLAttributes::getString(const std::string& name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        throw XMLError("Missing attribute \"" + name + "\" in element <" + m_element + ">");
    return it->second;
}

template <class T> T XMLAttributes::get(const std::string& name) const
{
    T value{};
    if (!fromString(getString(name), value))
        throw XMLError("Wrong type of attribute " + name + " in <" + m_element + ">");
    return value;
}

bool XMLAttributes::getBool(const std::string& name) const
{
    return get<bool>(name);
}

int XMLAttributes::getInt(const std::string& name) const
{
    return get<int>(name);
}

long long XMLAttributes::getLongLong(const std::string& name) const
{
    return get<long long>(name);
}

double XMLAttributes::getDouble(const std::string& name) const
{
    return get<double>(name);
}

} // namespace OKU

#include "core/XMLAttributes.h"

#include "core/NumberConversion.h"
#include "core/XMLError.h"

namespace OKU {

XMLAttributes::XMLAttributes(const std::string& element) : m_element(element) {}

void XMLAttributes::reset(const std::string& element)
{
    m_element = element;
    m_values.clear();
}

void XMLAttributes::set(const std::string& name, const std::string& value)
{
    m_values[name] = value;
}

bool XMLAttributes::has(const std::string& name) const
{
    return m_values.count(name) != 0;
}

const std::string& XMLAttributes::getElement() const
{
    return m_element;
}

const std::map<std::string, std::string>& XMLAttributes::getAll() const
{
    return m_values;
}

const std::string& XMLAttributes::getString(const std::string& name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        throw XMLError("Missing attribute \"" + name + "\" in element <" + m_element + ">");
    return it->second;
}

std::string XMLAttributes::getString(const std::string& name, const std::string& defaultValue) const
{
    const auto it = m_values.find(name);
    return it == m_values.end() ? defaultValue : it->second;
}

template <class T> T XMLAttributes::get(const std::string& name) const
{
    T value{};
    if (!fromString(getString(name), value))
        throw XMLError("Wrong type of attribute " + name + " in <" + m_element + ">");
    return value;
}

template <class T> T XMLAttributes::get(const std::string& name, const T& defaultValue) const
{
    return has(name) ? get<T>(name) : defaultValue;
}

bool XMLAttributes::getBool(const std::string& name) const
{
    return get<bool>(name);
}

bool XMLAttributes::getBool(const std::string& name, bool defaultValue) const
{
    return get<bool>(name, defaultValue);
}

int XMLAttributes::getInt(const std::string& name) const
{
    return get<int>(name);
}

int XMLAttributes::getInt(const std::string& name, int defaultValue) const
{
    return get<int>(name, defaultValue);
}

long long XMLAttributes::getLongLong(const std::string& name) const
{
    return get<long long>(name);
}

long long XMLAttributes::getLongLong(const std::string& name, long long defaultValue) const
{
    return get<long long>(name, defaultValue);
}

double XMLAttributes::getDouble(const std::string& name) const
{
    return get<double>(name);
}

double XMLAttributes::getDouble(const std::string& name, double defaultValue) const
{
    return get<double>(name, defaultValue);
}

} // namespace OKU

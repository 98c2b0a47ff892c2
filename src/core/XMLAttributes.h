#ifndef OKU_CORE_XMLATTRIBUTES_H
#define OKU_CORE_XMLATTRIBUTES_H

#include <map>
#include <string>

#include "core/Visibility.h"

namespace OKU {

/// The name and the attributes of one start element, all as UTF-8 text.
///
/// The getters without a default throw XMLError when the attribute is absent;
/// the forms with a default return it for an absent attribute. Typed getters
/// throw XMLError when the value does not convert to the type.
class XMLAttributes {
public:
    XMLAttributes() = default;
    explicit XMLAttributes(const std::string& element) : m_element(element) {}

    /// New element name and no attributes.
    void reset(const std::string& element)
    {
        m_element = element;
        m_values.clear();
    }
    /// Adds the attribute or replaces its value.
    void set(const std::string& name, const std::string& value) { m_values[name] = value; }

    bool has(const std::string& name) const { return m_values.count(name) != 0; }
    const std::string& getElement() const { return m_element; }
    const std::map<std::string, std::string>& getAll() const { return m_values; }

    const std::string& getString(const std::string& name) const;
    std::string getString(const std::string& name, const std::string& defaultValue) const
    {
        const auto it = m_values.find(name);
        return it == m_values.end() ? defaultValue : it->second;
    }

    /// "1", "on", "yes", "true" and "0", "off", "no", "false", any letter case.
    bool getBool(const std::string& name) const;
    bool getBool(const std::string& name, bool defaultValue) const
    {
        return has(name) ? getBool(name) : defaultValue;
    }
    int getInt(const std::string& name) const;
    int getInt(const std::string& name, int defaultValue) const
    {
        return has(name) ? getInt(name) : defaultValue;
    }
    long long getLongLong(const std::string& name) const;
    long long getLongLong(const std::string& name, long long defaultValue) const
    {
        return has(name) ? getLongLong(name) : defaultValue;
    }
    double getDouble(const std::string& name) const;
    double getDouble(const std::string& name, double defaultValue) const
    {
        return has(name) ? getDouble(name) : defaultValue;
    }

private:
    template <class T> OKU_LOCAL T get(const std::string& name) const;

    std::string m_element;
    std::map<std::string, std::string> m_values;
};

} // namespace OKU

#endif

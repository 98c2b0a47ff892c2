#ifndef OKU_CORE_XMLATTRIBUTES_H
#define OKU_CORE_XMLATTRIBUTES_H

#include <map>
#include <string>

namespace OKU {

/// The name and the attributes of one start element, all as UTF-8 text.
///
/// The getters without a default throw XMLError when the attribute is absent;
/// the forms with a default return it for an absent attribute. Typed getters
/// throw XMLError when the value does not convert to the type.
class XMLAttributes {
public:
    XMLAttributes() = default;
    explicit XMLAttributes(const std::string& element);

    /// New element name and no attributes.
    void reset(const std::string& element);
    /// Adds the attribute or replaces its value.
    void set(const std::string& name, const std::string& value);

    bool has(const std::string& name) const;
    const std::string& getElement() const;
    const std::map<std::string, std::string>& getAll() const;

    const std::string& getString(const std::string& name) const;
    std::string getString(const std::string& name, const std::string& defaultValue) const;

    /// "1", "on", "yes", "true" and "0", "off", "no", "false", any letter case.
    bool getBool(const std::string& name) const;
    bool getBool(const std::string& name, bool defaultValue) const;
    int getInt(const std::string& name) const;
    int getInt(const std::string& name, int defaultValue) const;
    long long getLongLong(const std::string& name) const;
    long long getLongLong(const std::string& name, long long defaultValue) const;
    double getDouble(const std::string& name) const;
    double getDouble(const std::string& name, double defaultValue) const;

private:
    template <class T> T get(const std::string& name) const;
    template <class T> T get(const std::string& name, const T& defaultValue) const;

    std::string m_element;
    std::map<std::string, std::string> m_values;
};

} // namespace OKU

#endif

#pragma once

#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <string>

#include <unicode/timezone.h>

namespace heliora::test {

/// Sets environment variables for the lifetime of the object and restores them afterwards.
/// Changing TZ also resets the C library's and ICU's idea of the local zone.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(std::initializer_list<std::pair<const char*, const char*>> values)
    {
        for (const auto& [name, value] : values)
            set(name, value);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void set(const std::string& name, const char* value)
    {
        if (!m_saved.contains(name)) {
            const char* old = std::getenv(name.c_str());
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            setenv(name.c_str(), value, 1);
        else
            unsetenv(name.c_str());
        refresh();
    }

    ~ScopedEnv()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        refresh();
    }

private:
    static void refresh()
    {
        tzset();
        icu::TimeZone::adoptDefault(icu::TimeZone::detectHostTimeZone());
    }

    std::map<std::string, std::optional<std::string>> m_saved;
};

/// Pins every locale variable to one locale, e.g. "de_DE.UTF-8".
inline void pinLocale(ScopedEnv& env, const char* locale)
{
    env.set("LANGUAGE", nullptr);
    env.set("LC_ALL", locale);
    env.set("LC_NUMERIC", nullptr);
    env.set("LC_TIME", nullptr);
    env.set("LC_MESSAGES", nullptr);
    env.set("LANG", locale);
}

} // namespace heliora::test

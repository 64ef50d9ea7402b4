#include "model/environment.h"

#include <cstdlib>
#include <initializer_list>

#include <unicode/unistr.h>
#include <unicode/ures.h>

namespace heliora {

namespace {

    std::string firstSet(std::initializer_list<const char*> variables)
    {
        for (const char* variable : variables) {
            const char* value = std::getenv(variable);
            if (value && *value)
                return value;
        }
        return {};
    }

    bool isPosixDefault(std::string_view name)
    {
        return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
    }

    // Whether ICU has a locale of this language among its installed ones. ICU installs every locale's language on
    // its own as well ("de" beside "de_AT"), so one look-up in its index of installed locales answers, where a walk
    // through the available locales would first make a Locale of each of some 800 entries: several milliseconds
    // of every start-up in a locale other than C.
    bool languageIsKnown(const icu::Locale& locale)
    {
        const char* language = locale.getLanguage();
        if (*language == '\0')
            return false;
        UErrorCode status = U_ZERO_ERROR;
        const icu::LocalUResourceBundlePointer index(ures_openDirect(nullptr, "res_index", &status));
        const icu::LocalUResourceBundlePointer installed(
            ures_getByKey(index.getAlias(), "InstalledLocales", nullptr, &status));
        const icu::LocalUResourceBundlePointer entry(ures_getByKey(installed.getAlias(), language, nullptr, &status));
        return U_SUCCESS(status);
    }

    // ICU hands out a zone for any id (an unknown one behaves as GMT); a real zone has a canonical system id.
    bool isKnownZone(const icu::TimeZone& zone)
    {
        icu::UnicodeString id;
        icu::UnicodeString canonical;
        zone.getID(id);
        UBool isSystemId = false;
        UErrorCode status = U_ZERO_ERROR;
        icu::TimeZone::getCanonicalID(id, canonical, isSystemId, status);
        return U_SUCCESS(status) && isSystemId && id != UNICODE_STRING_SIMPLE("Etc/Unknown");
    }

} // namespace

icu::Locale localeFromPosixName(std::string_view name)
{
    if (isPosixDefault(name))
        return icu::Locale("en_US_POSIX");
    // Drop the codeset (".UTF-8") and keep a modifier ("@euro") only as ICU keywords would not understand it.
    std::string base(name.substr(0, name.find_first_of(".@")));
    icu::Locale locale = icu::Locale::createCanonical(base.c_str());
    if (locale.isBogus() || !languageIsKnown(locale))
        return icu::Locale("en_US");
    return locale;
}

icu::Locale numberLocale() { return localeFromPosixName(firstSet({ "LC_ALL", "LC_NUMERIC", "LANG" })); }

icu::Locale dateLocale() { return localeFromPosixName(firstSet({ "LC_ALL", "LC_TIME", "LANG" })); }

icu::Locale messagesLocale()
{
    std::string name = firstSet({ "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" });
    name = name.substr(0, name.find(':'));
    if (isPosixDefault(name))
        return icu::Locale("en");
    return localeFromPosixName(name);
}

bool isAvailableLocale(std::string_view name)
{
    if (name.empty())
        return false;
    const icu::Locale wanted = icu::Locale::createCanonical(std::string(name).c_str());
    if (std::string_view(wanted.getName()) == "en_US_POSIX")
        return true;
    int32_t count = 0;
    const icu::Locale* available = icu::Locale::getAvailableLocales(count);
    for (int32_t i = 0; i < count; ++i) {
        if (available[i] == wanted)
            return true;
    }
    return false;
}

std::unique_ptr<icu::TimeZone> userTimeZone()
{
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
    if (!zone || !isKnownZone(*zone))
        return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone("UTC"));
    return zone;
}

std::unique_ptr<icu::TimeZone> timeZoneFromId(std::string_view id)
{
    if (id.empty())
        return nullptr;
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(
        icu::UnicodeString::fromUTF8(icu::StringPiece(id.data(), static_cast<int32_t>(id.size())))));
    if (!zone || !isKnownZone(*zone))
        return nullptr;
    return zone;
}

std::string timeZoneId(const icu::TimeZone& zone)
{
    icu::UnicodeString id;
    zone.getID(id);
    std::string out;
    id.toUTF8String(out);
    return out;
}

} // namespace heliora

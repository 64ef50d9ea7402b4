#pragma once

#include "version/version.h"

#include <string_view>

namespace heliora::product {

/// Heliora's own values, in one place: the information tab shows them and the Help menu opens them.
/// Every address is fixed and well formed.

inline constexpr std::string_view applicationName = "Heliora";
/// From CMake's project(VERSION) and HELIORA_BUILD_NUMBER, through the generated header.
inline constexpr std::string_view version = versionString;
inline constexpr std::string_view build = buildNumber;

/// The scheme of Heliora's links, as the General tab shows and copies it.
inline constexpr std::string_view urlScheme = "heliora://";

inline constexpr std::string_view phoneEditionUrl = "https://heliora.app/ios";
inline constexpr std::string_view socialPageUrl = "https://twitter.com/HelioraApp";
inline constexpr std::string_view socialHandle = "@HelioraApp";
inline constexpr std::string_view feedbackAddress = "feedback@heliora.app";
inline constexpr std::string_view feedbackMailto = "mailto:feedback@heliora.app";
inline constexpr std::string_view privacyPolicyUrl = "https://heliora.app/privacy";
inline constexpr std::string_view termsUrl = "https://heliora.app/terms";
/// The developer's name is a text of the string tables, under this key.
inline constexpr std::string_view developerNameKey = "developer_name";
inline constexpr std::string_view developerUrl = "https://heliora.app";
/// The archive of the planetary data that the orbits and facts come from; shown as its address.
inline constexpr std::string_view dataArchiveUrl = "https://nssdc.gsfc.nasa.gov/";

} // namespace heliora::product

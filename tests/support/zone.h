#pragma once

#include "model/environment.h"

#include <gtest/gtest.h>

#include <memory>

namespace heliora::test {

/// The ICU zone of an IANA id that the test relies on; a failure when ICU does not know it.
inline std::unique_ptr<icu::TimeZone> zone(const char* id)
{
    auto result = timeZoneFromId(id);
    EXPECT_NE(result, nullptr) << id;
    return result;
}

} // namespace heliora::test

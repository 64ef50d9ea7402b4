#pragma once

// Rows of parameterised tests that carry a `name`: each case is called after its row, and a failure prints the row
// by that name. In the test's namespace:
//
//     using test::PrintTo;
//     INSTANTIATE_TEST_SUITE_P(Table, Suite, ::testing::ValuesIn(rows), test::rowName);

#include <ostream>
#include <string>

namespace heliora::test {

template <typename Row>
concept NamedRow = requires(const Row& row)
{
    std::string(row.name);
};

template <NamedRow Row> void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

inline constexpr auto rowName = [](const auto& info) { return std::string(info.param.name); };

} // namespace heliora::test

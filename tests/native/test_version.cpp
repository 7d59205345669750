#include <gtest/gtest.h>
#include <cstring>
#include "Version.h"

TEST(Version, ComesFromTheProjectVersion) {
    // A dotted triple: the tools print it and the package config is made from it.
    const char* v = qs::engineVersion();
    ASSERT_NE(v, nullptr);
    int dots = 0;
    for (const char* p = v; *p; ++p) dots += *p == '.';
    EXPECT_EQ(dots, 2) << v;
}

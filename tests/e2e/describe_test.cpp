// `quillon --describe`: a type's page starts with its name; an unknown type
// is a usage error that suggests the nearest name.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

TEST(describe, prints_the_type_asked_for_and_suggests_a_near_name) {
    for (const char* type : {"genCamera", "particletitle", "genWireframe", "efxFader"}) {
        std::string out;
        ASSERT_EQ(run_command(built_binary("quillon") + " --describe " + type, &out), 0) << type;
        EXPECT_EQ(out.rfind(std::string(type) + "\n", 0), 0u) << out;
    }
    std::string out;
    EXPECT_EQ(run_command(built_binary("quillon") + " --describe genCamra", &out), 2);
    EXPECT_EQ(out, "quillon: no section type is named 'genCamra' (did you mean 'genCamera'?) "
                   "(quillon --describe lists them)\n");
}

}  // namespace

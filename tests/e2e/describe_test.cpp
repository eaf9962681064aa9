// `quillon --describe`: what the program prints for a type is its
// declaration, field by field; an unknown type is a usage error.
#include <gtest/gtest.h>

#include <string>

#include "core/section.h"
#include "tests/test_support.h"

namespace {

TEST(describe, prints_each_field_of_a_type_as_declared) {
    for (const char* type : {"genCamera", "particletitle", "genWireframe", "efxFader"}) {
        std::string out;
        ASSERT_EQ(run_command(built_binary("quillon") + " --describe " + type, &out), 0) << type;
        EXPECT_EQ(out.rfind(std::string(type) + "\n", 0), 0u) << out;
        const section_reads& reads = *section_types[section_type_find(type)].reads;
        const char* words[SECTION_LISTS] = {"param", "string", "spline", "sync"};
        for (int kind = 0; kind < SECTION_LISTS; ++kind) {
            for (int i = 0; i < reads.lists[kind].count; ++i) {
                const section_field& f = reads.lists[kind].fields[i];
                std::string line = "    " + std::string(words[kind]) + " " + std::to_string(i + 1) + "  " + f.name +
                                   ": " + f.meaning + (f.fallback ? std::string(" (default: ") + f.fallback + ")" : "") +
                                   (kind == 0 && f.when == SECTION_EVERY_FRAME ? " [may follow a track]" : "");
                EXPECT_NE(out.find(line + "\n"), std::string::npos) << type << ": " << line;
            }
        }
    }
    std::string out;
    EXPECT_EQ(run_command(built_binary("quillon") + " --describe genCamra", &out), 2);
    EXPECT_EQ(out, "quillon: no section type is named 'genCamra' (did you mean 'genCamera'?) "
                   "(quillon --describe lists them)\n");
}

}  // namespace

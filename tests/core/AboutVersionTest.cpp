#include <gtest/gtest.h>

#include "about/UPub_Version.h"

namespace {

struct VersionCase {
    const char* name;
    const char* source;
    const char* version;
    const char* expected;
};

class AboutVersionTag : public ::testing::TestWithParam<VersionCase> {};

TEST_P(AboutVersionTag, ReplacesEveryPlaceholder) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(veltrix::ReplaceVersionTag(c.source, c.version), c.expected);
}

const VersionCase kCases[] = {
    {"Upper", "(Ver $V$)", "2.7", "(Ver 2.7)"},
    {"Lower", "(Ver $v$)", "2.7", "(Ver 2.7)"},
    {"Several", "$V$-$v$-$V$", "2.7", "2.7-2.7-2.7"},
    {"Adjacent", "$V$$V$", "x", "xx"},
    // After a replacement the scan goes on behind it, so "$V$V$" holds one tag.
    {"Overlapping", "$V$V$", "2.7", "2.7V$"},
    {"None", "Veltrix(多媒体版)", "2.7", "Veltrix(多媒体版)"},
    {"Incomplete", "$V $ V$ $$ $W$ $V", "2.7", "$V $ V$ $$ $W$ $V"},
    {"EmptySource", "", "2.7", ""},
    {"OnlyTag", "$v$", "2.7", "2.7"},
    {"EmptyVersion", "(Ver $V$)", "", "(Ver )"},
    {"VersionHoldsTag", "$V$", "$V$", "$V$"},
    {"AmongChinese", "版本$V$版", "2.7", "版本2.7版"},
};

INSTANTIATE_TEST_SUITE_P(Cases, AboutVersionTag, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

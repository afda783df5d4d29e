#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Arguments = std::vector<std::string>;

TEST(SplitCommandLine, SeparatesAtBlanksAndControlsAndJoinsQuotedRuns)
{
    const struct {
        const char* line;
        Arguments arguments;
    } cases[] = {
        {"Update.exe", {"Update.exe"}},
        {"", {}},
        {" \t\r\n", {}},
        {"Update.exe -UR", {"Update.exe", "-UR"}},
        {"  Update.exe\t\t-UR  x\x01y\x7F", {"Update.exe", "-UR", "x", "y\x7F"}},
        {"\"C:\\Program Files\\Exam\\Update.exe\" -UR", {"C:\\Program Files\\Exam\\Update.exe", "-UR"}},
        {"Update.exe \"-UR\"", {"Update.exe", "-UR"}},
        {"Update.exe a\"b c\"d e", {"Update.exe", "ab cd", "e"}},
        {"Update.exe \"open to the end", {"Update.exe", "open to the end"}},
        {"Update.exe a \"\" -UR", {"Update.exe", "a"}},
        {"Update.exe \"\"\"\" -UR", {"Update.exe"}},
        {"Update.exe \"\"x", {"Update.exe", "x"}},
        {"\xCB\xCE\xCC\xE5.exe -UR", {"\xCB\xCE\xCC\xE5.exe", "-UR"}}, // 宋体.exe
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.arguments) << c.line;
}

TEST(RunModeFor, SelectsAutoRunForMinusUrInAnyCaseAfterTheProgramPath)
{
    const struct {
        Arguments arguments;
        const char* runMode;
    } cases[] = {
        {{"Update.exe"}, ""},
        {{"Update.exe", "-UR"}, "AutoRun"},
        {{"Update.exe", "-ur"}, "AutoRun"},
        {{"Update.exe", "-Ur"}, "AutoRun"},
        {{"Update.exe", "-UR", "-UR"}, "AutoRun"},
        {{"Update.exe", "x", "/y", "-uR"}, "AutoRun"},
        {{"Update.exe", "/UR"}, ""},
        {{"Update.exe", "-UR1"}, ""},
        {{"Update.exe", "--UR"}, ""},
        {{"Update.exe", " -UR"}, ""},
        {{"-UR"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunModeFor(c.arguments), c.runMode) << ::testing::PrintToString(c.arguments);
}

TEST(RunModeFor, QuotedSwitchOnTheCommandLineStillSelects)
{
    EXPECT_EQ(RunModeFor(SplitCommandLine("\"C:\\Exam Dir\\Update.exe\" \"-ur\"")), "AutoRun");
    EXPECT_EQ(RunModeFor(SplitCommandLine("Update.exe \"\" -UR")), "");
}

} // namespace

#include "common/UnitPublic.h"

#include <gtest/gtest.h>

#include "app/Application.h"
#include "support/MessageBoxWatcher.h"

TEST(ShowMessageBox, ShowsTheKindsBoxAndReturnsTheButtonPressed)
{
    Application app;
    const struct {
        int kind;
        int answer;
        UINT flags;
    } cases[] = {
        {0, IDOK, 64},
        {1, IDYES, 36},
        {1, IDNO, 36},
    };
    for (const auto& c : cases) {
        MessageBoxWatcher watcher(c.answer);
        EXPECT_EQ(ShowMessageBox("\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC", c.kind, "Caption"), c.answer); // 升级失败
        const auto seen = watcher.Seen();
        ASSERT_EQ(seen.size(), 1u) << c.kind;
        EXPECT_EQ(seen[0].text, "\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC");
        EXPECT_EQ(seen[0].caption, "Caption");
        EXPECT_EQ(seen[0].flags, c.flags) << c.kind;
    }
}

TEST(ShowMessageBox, AnyOtherKindShowsNothing)
{
    Application app;
    MessageBoxWatcher watcher;
    EXPECT_EQ(ShowMessageBox("Not shown", 2, "Caption"), 0);
    EXPECT_EQ(ShowMessageBox("Not shown", -1, "Caption"), 0);
    EXPECT_EQ(ShowMessageBox("Shown", 0, "Caption"), IDOK);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Shown");
}

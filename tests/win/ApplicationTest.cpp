#include "app/Application.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/ApplicationTitle.h"
#include "app/WindowProcedureWin32.h"
#include "support/MessageBoxWatcher.h"
#include "update/RegionalSettings.h"

namespace {

// Posted to the test window: counted; sent with wParam 1: the handler raises an error.
const UINT TestMessage = WM_USER + 7;

// A visible top-level window of the main thread that counts what it is sent.
class TestWindow {
public:
    explicit TestWindow(DWORD extraStyle = 0)
    {
        static const ATOM windowClass = [] {
            WNDCLASSA c = {};
            c.lpfnWndProc = WindowProcedure<TestWindow>;
            c.hInstance = GetModuleHandleA(nullptr);
            c.lpszClassName = "ApplicationTestWindow";
            return RegisterClassA(&c);
        }();
        handle_.Reset(CreateWindowExA(0, MAKEINTATOM(windowClass), "Test", WS_OVERLAPPEDWINDOW | extraStyle, 10, 10,
                                      200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), this));
        ShowWindow(handle_.Get(), SW_SHOW);
    }

    HWND Handle() const { return handle_.Get(); }

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_CANCELMODE)
            ++cancelModes;
        if (message == WM_CLOSE) {
            ++closes;
            return 0;
        }
        if (message == TestMessage && wParam == 1)
            throw EAppError("Raised by a window procedure");
        if (message == TestMessage)
            ++testMessages;
        return DefWindowProcA(window, message, wParam, lParam);
    }

    int cancelModes = 0;
    int closes = 0;
    int testMessages = 0;

private:
    WindowHandle handle_;
};

class ApplicationTest : public testing::Test {
protected:
    Application app;
    TestWindow other;
};

} // namespace

TEST_F(ApplicationTest, ModalBoxIsARealBoxThatDisablesTheThreadsOtherWindowsWhileUp)
{
    TestWindow disabledBefore(WS_DISABLED);
    SetActiveWindow(other.Handle());
    bool otherEnabledDuringBox = true;
    MessageBoxWatcher watcher(IDOK, [&](const SeenMessageBox&) {
        otherEnabledDuringBox = IsWindowEnabled(other.Handle());
    });

    EXPECT_EQ(app.ModalMessageBox("Some text", "Some caption", MB_ICONWARNING | MB_OK), IDOK);

    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Some caption");
    EXPECT_EQ(seen[0].text, "Some text");
    EXPECT_EQ(seen[0].flags, UINT(MB_ICONWARNING | MB_OK));
    EXPECT_EQ(seen[0].owner, app.Handle());
    EXPECT_FALSE(otherEnabledDuringBox);
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
    EXPECT_FALSE(IsWindowEnabled(disabledBefore.Handle()));
    EXPECT_EQ(GetActiveWindow(), other.Handle());
}

TEST_F(ApplicationTest, ErrorReportShowsTheErrorTextUnderTheApplicationTitle)
{
    MessageBoxWatcher watcher;
    app.ReportError(EWriteError());
    app.ReportError(EAppError("\xB3\xC9\xB9\xA6!")); // 成功!

    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "Stream write error.");
    EXPECT_EQ(seen[1].text, "\xB3\xC9\xB9\xA6!");
    for (const auto& box : seen) {
        EXPECT_EQ(box.caption, "win_tests");
        EXPECT_EQ(box.flags, 16u);
    }
}

TEST_F(ApplicationTest, ErrorReportCancelsTheMouseCaptureAndDropsTheSilentAbort)
{
    MessageBoxWatcher watcher;
    SetCapture(other.Handle());
    app.ReportError(EAbort());
    EXPECT_EQ(other.cancelModes, 1);
    EXPECT_EQ(GetCapture(), nullptr);

    app.ReportError(EAppError("After the abort"));
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "After the abort.");
}

TEST_F(ApplicationTest, AnErrorInAWindowProcedureIsReportedAndDoesNotEscape)
{
    MessageBoxWatcher watcher;
    EXPECT_EQ(SendMessageA(other.Handle(), TestMessage, 1, 0), 0);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Raised by a window procedure.");
}

TEST_F(ApplicationTest, QuitRequestedBeforeTheLoopStillShowsTheMainWindowFirst)
{
    app.RequestQuit();
    int shown = 0;
    app.Run([&] { ++shown; });
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(app.Terminated());
}

TEST_F(ApplicationTest, QuitTakenByThePumpEndsTheLoopAfterItsCurrentTurn)
{
    bool goneOnAfterPump = false;
    app.Run([&] {
        PostMessageA(other.Handle(), TestMessage, 0, 0);
        PostMessageA(other.Handle(), TestMessage, 0, 0);
        app.RequestQuit();
        app.ProcessMessages();
        EXPECT_EQ(other.testMessages, 2);
        EXPECT_TRUE(app.Terminated());
        PostMessageA(other.Handle(), TestMessage, 0, 0);
        goneOnAfterPump = true;
    });
    EXPECT_TRUE(goneOnAfterPump);
    EXPECT_EQ(other.testMessages, 2);
}

TEST_F(ApplicationTest, HandOverFromAWorkerRunsOnTheMainThreadWhileTheLoopRuns)
{
    DWORD ranOn = 0;
    std::string stepError;
    std::thread worker;
    app.Run([&] {
        worker = std::thread([&] {
            app.MainThread().HandOver([&] { ranOn = GetCurrentThreadId(); });
            try {
                app.MainThread().HandOver([] { throw EAppError("Step failed"); });
            } catch (const EAppError& e) {
                stepError = e.what();
            }
            app.MainThread().HandOver([&] { app.RequestQuit(); });
        });
    });
    worker.join();
    EXPECT_EQ(ranOn, GetCurrentThreadId());
    EXPECT_EQ(stepError, "Step failed");
}

TEST_F(ApplicationTest, LoopEndsOnTheLogoffNotice)
{
    app.Run([&] {
        EXPECT_EQ(SendMessageA(app.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
        SendMessageA(app.Handle(), WM_ENDSESSION, FALSE, 0);
        EXPECT_FALSE(app.Terminated());
        SendMessageA(app.Handle(), WM_ENDSESSION, TRUE, 0);
    });
    EXPECT_TRUE(app.Terminated());
}

TEST_F(ApplicationTest, CloseOfTheTaskbarEntryClosesTheMainWindowOrElseQuits)
{
    app.SetMainWindow(other.Handle());
    SendMessageA(app.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(other.closes, 1);
    EXPECT_TRUE(IsWindow(app.Handle()));

    app.SetMainWindow(nullptr);
    app.Run([&] { SendMessageA(app.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_TRUE(app.Terminated());
    EXPECT_TRUE(IsWindow(app.Handle()));
}

TEST_F(ApplicationTest, HiddenWindowCarriesTheTitleAndGivesTheTaskbarEntryWhenShown)
{
    RECT bounds = {};
    GetWindowRect(app.Handle(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0);
    EXPECT_EQ(bounds.bottom - bounds.top, 0);
    EXPECT_FALSE(IsWindowVisible(app.Handle()));
    app.ShowTaskbarEntry();
    EXPECT_TRUE(IsWindowVisible(app.Handle()));
    EXPECT_EQ(app.Title(), "win_tests");
}

// Each notice sets the thread's locale back to the user's and reads the settings again, so settings
// replaced meanwhile, and a thread locale changed meanwhile, give way to the user's settings.
TEST_F(ApplicationTest, SettingsNoticesReadTheUsersRegionalSettingsAgain)
{
    const std::string usersShortDate = CurrentFormatSettings()->shortDateFormat;
    ASSERT_NE(usersShortDate, FormatSettings().shortDateFormat);
    for (const UINT notice : {UINT(WM_SETTINGCHANGE), RegisterWindowMessageA("TaskbarCreated")}) {
        ReplaceFormatSettings(FormatSettings());
        SetThreadLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
        SendMessageA(app.Handle(), notice, 0, 0);
        EXPECT_EQ(GetThreadLocale(), GetUserDefaultLCID()) << notice;
        EXPECT_EQ(CurrentFormatSettings()->shortDateFormat, usersShortDate) << notice;
    }
}

TEST(SystemApplicationTitle, LowerCasesAfterTheWholeFirstCharacter)
{
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\Exam\\UP.DATE.EXE", "Up"},
        {"C:\\Exam\\\xD6\xD0" "ABC.exe", "\xD6\xD0" "abc"}, // 中ABC.exe
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemApplicationTitle(c.path), c.title) << c.path;
}

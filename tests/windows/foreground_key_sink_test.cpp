// The real Win32 delivery of key strokes, against real windows: the stroke
// goes to the foreground window's first child when it has one, else to the
// foreground window itself, message by message in order.
#include "platform/foreground_key_sink.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace trevik {
namespace {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Received&) const = default;
};

std::vector<Received>* g_log = nullptr; // the window procedure's only way to the test

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_log != nullptr && msg >= WM_KEYFIRST && msg <= WM_KEYLAST) {
        g_log->push_back({hwnd, msg, wp, lp});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class ForegroundKeySinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TrevikKeyRecorder";
        RegisterClassA(&wc);
        g_log = &log;
    }
    void TearDown() override {
        for (HWND w : windows) {
            DestroyWindow(w);
        }
        g_log = nullptr;
    }

    HWND MakeWindow(HWND parent) {
        const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        HWND w = CreateWindowExA(0, "TrevikKeyRecorder", "recorder", style, 0, 0, 200, 100, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(w, nullptr);
        if (!parent) {
            windows.push_back(w);
        }
        return w;
    }

    static void BringToFront(HWND w) {
        SetForegroundWindow(w);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        ASSERT_EQ(GetForegroundWindow(), w);
    }

    std::vector<Received> log;
    std::vector<HWND> windows;
};

TEST_F(ForegroundKeySinkTest, FirstChildOfForegroundReceivesExactMessagesInOrder) {
    HWND top = MakeWindow(nullptr);
    HWND first = MakeWindow(top);
    MakeWindow(top); // a second child gets nothing either
    BringToFront(top);
    HWND firstChild = GetWindow(top, GW_CHILD);
    ASSERT_NE(firstChild, nullptr);
    (void)first;

    ForegroundKeySink sink;
    sink.Send(Stroke::Keypad5);
    sink.Send(Stroke::Up);

    const std::vector<Received> expected = {
        {firstChild, WM_KEYDOWN, 0x65, 0x00060001},
        {firstChild, WM_CHAR, 0x35, 0x00060001},
        {firstChild, WM_KEYUP, 0x65, static_cast<LPARAM>(0xC0060001u)},
        {firstChild, WM_KEYDOWN, 0x26, 0x00010001},
        {firstChild, WM_KEYUP, 0x26, static_cast<LPARAM>(0xC0010001u)},
    };
    EXPECT_EQ(log, expected);
}

TEST_F(ForegroundKeySinkTest, ForegroundWithoutChildrenReceivesItself) {
    HWND top = MakeWindow(nullptr);
    BringToFront(top);

    ForegroundKeySink sink;
    sink.Send(Stroke::Down);

    const std::vector<Received> expected = {
        {top, WM_KEYDOWN, 0x28, 0x00010001},
        {top, WM_KEYUP, 0x28, static_cast<LPARAM>(0xC0010001u)},
    };
    EXPECT_EQ(log, expected);
}

TEST_F(ForegroundKeySinkTest, TargetIsLookedUpAgainForEveryStroke) {
    HWND a = MakeWindow(nullptr);
    HWND b = MakeWindow(nullptr);
    ForegroundKeySink sink;
    BringToFront(a);
    sink.Send(Stroke::Keypad1);
    BringToFront(b);
    sink.Send(Stroke::Keypad1);
    ASSERT_EQ(log.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(log[i].window, a);
        EXPECT_EQ(log[i + 3].window, b);
    }
}

} // namespace
} // namespace trevik

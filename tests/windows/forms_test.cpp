// The form layer's own promises: exceptions are shown and the program goes
// on, modal forms end with their result however they are closed, and the
// message loop shows the main form and ends when it is closed.
#include "app/MasconAbout.h"
#include "app/MasconMain.h"
#include "forms/application.h"
#include "tests/support/recording_sink.h"
#include "tests/support/scripted_joystick.h"
#include "tests/support/test_prompter.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>

namespace trevik {
namespace {

using testing::RecordingSink;
using testing::ScriptedJoystick;
using testing::TestPrompter;

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kCount = WM_APP + 2;

constexpr forms::ControlDesc kNoControls[] = {
    {forms::ControlKind::Label, "Label", nullptr, 8, 8, 50, 12, L"label", nullptr, {}, 0},
};
constexpr forms::FormDesc kPlainForm{
    .caption = L"plain",
    .left = 10,
    .top = 10,
    .clientWidth = 100,
    .clientHeight = 50,
    .border = forms::BorderStyle::Dialog,
    .position = forms::FormPosition::Designed,
    .font = {L"Tahoma", -12, DEFAULT_CHARSET},
    .icon = 0,
    .controls = kNoControls,
};

class ThrowingForm final : public forms::FormOf<ThrowingForm> {
public:
    ThrowingForm(forms::Application& app, bool throwOnCreate)
        : FormOf(app, kPlainForm), throwOnCreate_(throwOnCreate) {}
    int counted = 0;

protected:
    void FormCreate() override {
        if (throwOnCreate_) {
            throw std::runtime_error("creation failed");
        }
    }

private:
    friend class forms::FormOf<ThrowingForm>;
    void Throw(forms::Message&) { throw std::runtime_error("handler failed: ü"); }
    void Count(forms::Message& m) {
        ++counted;
        m.result = 42;
    }
    static std::span<const forms::MessageEntry<ThrowingForm>> MessageMap() {
        static constexpr forms::MessageEntry<ThrowingForm> map[] = {
            {kThrow, &ThrowingForm::Throw},
            {kCount, &ThrowingForm::Count},
        };
        return map;
    }
    static std::span<const forms::ClickEntry<ThrowingForm>> ClickMap() { return {}; }
    bool throwOnCreate_;
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetPrompter(&prompter);
        app.Initialize();
        app.SetTitle(L"Test title");
    }
    TestPrompter prompter;
    forms::Application app;
};

TEST_F(FormsTest, ExceptionFromAHandlerIsShownAndTheFormGoesOn) {
    auto& form = app.CreateForm<ThrowingForm>(false);
    EXPECT_EQ(SendMessageW(form.Handle(), kThrow, 0, 0), 0);
    ASSERT_EQ(prompter.exceptions.size(), 1u);
    EXPECT_EQ(prompter.exceptions[0], L"handler failed: ü");
    EXPECT_EQ(prompter.exceptionTitles[0], L"Test title");
    EXPECT_EQ(prompter.exceptionOwners[0], app.Handle());
    EXPECT_EQ(SendMessageW(form.Handle(), kCount, 0, 0), 42);
    EXPECT_EQ(form.counted, 1);
}

TEST_F(FormsTest, ExceptionFromTheCreationHandlerIsShownAndCreationGoesOn) {
    auto& form = app.CreateForm<ThrowingForm>(true);
    EXPECT_EQ(prompter.exceptions, std::vector<std::wstring>{L"creation failed"});
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_EQ(app.MainForm(), &form);
    EXPECT_EQ(SendMessageW(form.Handle(), kCount, 0, 0), 42);
}

// ---- Modal showing ----

std::function<void()>* g_whileOpen = nullptr; // the timer's only way to the test

void CALLBACK RunWhileOpen(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    (*g_whileOpen)();
}

int ShowModalAnd(forms::Form& form, std::function<void()> whileOpen) {
    g_whileOpen = &whileOpen;
    SetTimer(nullptr, 0, 30, RunWhileOpen);
    const int result = form.ShowModal();
    g_whileOpen = nullptr;
    return result;
}

TEST_F(FormsTest, AboutBoxClosesWithItsModalResultEveryWay) {
    ScriptedJoystick joystick;
    RecordingSink keys;
    auto& main = app.CreateForm<TMasconMainForm>(joystick, keys);
    auto& about = app.CreateForm<TMasconAboutBox>();
    EXPECT_EQ(GetWindow(about.Handle(), GW_OWNER), main.Handle());
    const LRESULT defId = SendMessageW(about.Handle(), DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(defId), DC_HASDEFID);
    EXPECT_EQ(LOWORD(defId), GetDlgCtrlID(about.OKButton.Handle()));

    HWND ok = about.OKButton.Handle();
    auto key = [](HWND target, WPARAM vk) {
        return [=] {
            PostMessageW(target, WM_KEYDOWN, vk, 1);
            PostMessageW(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
        };
    };
    struct Way {
        const char* what;
        std::function<void()> close;
        int result;
    };
    const Way ways[] = {
        {"OK button", [&] { PostMessageW(ok, BM_CLICK, 0, 0); }, forms::kModalOk},
        {"Enter", key(ok, VK_RETURN), forms::kModalOk},
        {"close box", [&] { PostMessageW(about.Handle(), WM_CLOSE, 0, 0); }, forms::kModalCancel},
        {"Escape", key(ok, VK_ESCAPE), forms::kModalCancel},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.what);
        EXPECT_EQ(ShowModalAnd(about, w.close), w.result);
        EXPECT_FALSE(about.Visible());
        EXPECT_TRUE(IsWindow(about.Handle())) << "closing hides, it does not destroy";
    }
}

TEST_F(FormsTest, RunShowsTheMainFormAndEndsWhenItIsClosed) {
    ScriptedJoystick joystick;
    joystick.probe = {JOYERR_NOERROR, JOYERR_UNPLUGGED};
    RecordingSink keys;
    auto& main = app.CreateForm<TMasconMainForm>(joystick, keys);
    app.CreateForm<TMasconAboutBox>();
    bool shownWhileRunning = false;
    bool focusOnReport = false;
    std::function<void()> whileRunning = [&] {
        shownWhileRunning = IsWindowVisible(main.Handle()) != FALSE;
        focusOnReport = GetFocus() == main.MemoInfo.Handle();
        PostMessageW(main.Handle(), WM_CLOSE, 0, 0);
    };
    g_whileOpen = &whileRunning;
    SetTimer(nullptr, 0, 30, RunWhileOpen);
    app.Run();
    g_whileOpen = nullptr;
    EXPECT_TRUE(shownWhileRunning);
    EXPECT_TRUE(focusOnReport);
    EXPECT_EQ(joystick.Names().back(), "ReleaseCapture(0)") << "closing ran FormDestroy";
    EXPECT_FALSE(app.Running());
}

} // namespace
} // namespace trevik

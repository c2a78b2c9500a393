// The stand-in joystick service on its own, loaded by a tiny client: the
// calls answer as the scenario says, a subscription gets move and button
// notifications with the real service's numbers and bits, and all of it is
// in the log.
#include <gtest/gtest.h>
#include <windows.h>

#include <mmsystem.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string g_dll; // the dll under test, from the command line

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path; // a host path, as ctest passes it
    }
    return path;
}

std::string TempFile(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "trevik-vc-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Api {
    HMODULE dll = nullptr;
    decltype(&joyGetNumDevs) getNumDevs = nullptr;
    decltype(&joyGetPosEx) getPosEx = nullptr;
    decltype(&joyGetDevCapsA) getDevCaps = nullptr;
    decltype(&joySetCapture) setCapture = nullptr;
    decltype(&joyReleaseCapture) releaseCapture = nullptr;
    decltype(&joyGetPos) getPos = nullptr;
};

template <typename F> void Bind(HMODULE dll, F& f, const char* name) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

class VirtualControllerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        log = TempFile("calls.log");
        const std::string scenario = TempFile("scenario.txt");
        std::ofstream(scenario) << "log " << log << "\n"
                                << "numdevs 2\nprobe 0 165\nprobe 1 0\n"
                                << "name32 ABCDEFGH\nxmax 2147483648\nymax 0\n"
                                << "periodmin 0\nreading 1234 5678 2\n"
                                << "move 100 200\npress 1\npress 3\npress 0\n";
        SetEnvironmentVariableA("TREVIK_VC_SCENARIO", scenario.c_str());
        api.dll = LoadLibraryA(WindowsPath(g_dll).c_str());
        ASSERT_NE(api.dll, nullptr) << g_dll;
        Bind(api.dll, api.getNumDevs, "joyGetNumDevs");
        Bind(api.dll, api.getPosEx, "joyGetPosEx");
        Bind(api.dll, api.getDevCaps, "joyGetDevCapsA");
        Bind(api.dll, api.setCapture, "joySetCapture");
        Bind(api.dll, api.releaseCapture, "joyReleaseCapture");
        Bind(api.dll, api.getPos, "joyGetPos");
    }
    static inline Api api;
    static inline std::string log;
};

TEST_F(VirtualControllerTest, ExportsTheSixCalls) {
    EXPECT_TRUE(api.getNumDevs && api.getPosEx && api.getDevCaps && api.setCapture &&
                api.releaseCapture && api.getPos);
}

TEST_F(VirtualControllerTest, AnswersProbesCapsAndReadingsAsTheScenarioSays) {
    ASSERT_NE(api.getPosEx, nullptr);
    EXPECT_EQ(api.getNumDevs(), 2u);
    JOYINFOEX ex{};
    ex.dwSize = sizeof ex;
    EXPECT_EQ(api.getPosEx(JOYSTICKID1, &ex), JOYERR_PARMS);
    EXPECT_EQ(api.getPosEx(JOYSTICKID2, &ex), JOYERR_NOERROR);
    EXPECT_EQ(ex.dwXpos, 1234u);
    EXPECT_EQ(ex.dwButtons, 2u);
    EXPECT_EQ(api.getPosEx(7, &ex), JOYERR_PARMS);
    EXPECT_EQ(api.getPosEx(JOYSTICKID1, nullptr), MMSYSERR_INVALPARAM);

    JOYCAPSA caps{};
    EXPECT_EQ(api.getDevCaps(JOYSTICKID2, &caps, sizeof caps), JOYERR_NOERROR);
    EXPECT_EQ(std::string(caps.szPname, sizeof caps.szPname), "ABCDEFGHABCDEFGHABCDEFGHABCDEFGH");
    EXPECT_EQ(caps.wXmax, 2147483648u);
    EXPECT_EQ(caps.wYmax, 0u);
    EXPECT_EQ(caps.wPeriodMin, 0u);
    JOYCAPSA untouched{};
    EXPECT_NE(api.getDevCaps(JOYSTICKID1, &untouched, sizeof untouched), JOYERR_NOERROR);
    EXPECT_EQ(untouched.wXmax, 0u);

    JOYINFO info{};
    EXPECT_EQ(api.getPos(JOYSTICKID2, &info), JOYERR_NOERROR);
    EXPECT_EQ(info.wYpos, 5678u);
}

struct Note {
    UINT message;
    WPARAM wp;
    LPARAM lp;
    bool operator==(const Note&) const = default;
};
std::vector<Note>* g_notes = nullptr;

LRESULT CALLBACK NoteProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_notes != nullptr && msg >= MM_JOY1MOVE && msg <= MM_JOY2BUTTONUP) {
        g_notes->push_back({msg, wp, lp});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST_F(VirtualControllerTest, SubscribedWindowGetsTheTimelineAsTheServicePostsIt) {
    ASSERT_NE(api.setCapture, nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = NoteProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TrevikVcClient";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, wc.lpszClassName, "client", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                             nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    std::vector<Note> notes;
    g_notes = &notes;

    EXPECT_EQ(api.setCapture(w, JOYSTICKID1, 20, FALSE), JOYERR_UNPLUGGED);
    ASSERT_EQ(api.setCapture(w, JOYSTICKID2, 20, FALSE), JOYERR_NOERROR);
    EXPECT_EQ(api.setCapture(w, JOYSTICKID2, 20, FALSE), JOYERR_NOCANDO);
    const DWORD deadline = GetTickCount() + 10000;
    while (notes.size() < 6 && GetTickCount() < deadline) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&m);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    EXPECT_EQ(api.releaseCapture(JOYSTICKID2), JOYERR_NOERROR);
    EXPECT_EQ(api.releaseCapture(JOYSTICKID2), JOYERR_PARMS);
    g_notes = nullptr;
    DestroyWindow(w);

    // Joystick 2's numbers; held buttons in bits 0..3, the changed one from bit 8.
    const std::vector<Note> expected = {
        {MM_JOY2MOVE, 2, MAKELPARAM(100, 200)}, // held buttons from the reading
        {MM_JOY2BUTTONDOWN, 0x103, 0},          // press 1: button 1 down ...
        {MM_JOY2BUTTONUP, 0x201, 0},            // ... then button 2 up
        {MM_JOY2BUTTONDOWN, 0x203, 0},          // press 3
        {MM_JOY2BUTTONUP, 0x102, 0},            // press 0
        {MM_JOY2BUTTONUP, 0x200, 0},
    };
    EXPECT_EQ(notes.size(), expected.size());
    for (std::size_t i = 0; i < std::min(notes.size(), expected.size()); ++i) {
        EXPECT_EQ(notes[i], expected[i]) << "notification " << i << ": message " << std::hex
                                         << notes[i].message << " wParam " << notes[i].wp;
    }

    const std::string text = ReadAll(log);
    for (const char* line :
         {"joyGetNumDevs -> 2", "joyGetPosEx id=0 size=52 -> 165", "id=1 period=20 changed=0",
          "timeline done", "joyReleaseCapture id=1"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        g_dll = argv[1];
    }
    return RUN_ALL_TESTS();
}

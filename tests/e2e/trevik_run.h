// One run of the real trevik.exe against the virtual controller and the mock
// simulator: a private run folder with the exe and the stand-in winmm.dll,
// the scenario, both logs, and the processes, all cleaned up at the end.
#pragma once

#include "tests/e2e/e2e_support.h"

#include <ostream>

namespace trevik::e2e {

// Paths of what is under test, from the command line.
struct Programs {
    std::wstring trevik;
    std::wstring winmm;
    std::wstring simulator;
};
Programs& ThePrograms();
// Reads --trevik, --winmm and --simulator; returns false when one is missing.
bool ParsePrograms(int argc, char** argv);

// A line of the virtual controller's log.
struct VcLine {
    char tag; // C call, P posted, H handled, W waiting, D done, R released, E error, S start
    std::int64_t time;
    std::string text;
};

// A notification as posted, and when Trevik's window procedure had it.
struct Notification {
    UINT message;
    std::uint64_t wParam;
    std::uint64_t lParam;
    std::int64_t posted = 0;
    std::int64_t begin = 0; // 0 when not handled
    std::int64_t end = 0;
};

class TrevikRun {
public:
    explicit TrevikRun(const std::wstring& tag);
    ~TrevikRun();

    // Starts the simulator and Trevik with `scenario` (the log and event lines
    // are added here) and waits for Trevik's window. With `front`, the
    // simulator is then brought to the foreground. Without `waitForWindow` it
    // returns once Trevik has started.
    bool Launch(const std::string& scenario, bool front = true, bool waitForWindow = true);
    // Lets the timeline go on past its next `wait` step.
    void Go() const;
    bool WaitFor(char tag, const std::string& needle,
                 std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    // Waits for the timeline to finish, then for the simulator to have everything.
    bool WaitDone(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // WM_CLOSE to Trevik's window; true when it ended on its own with code 0.
    bool Close();

    std::vector<VcLine> VcLog() const;
    std::vector<std::string> Calls() const; // the call lines, in order, without times
    std::vector<Notification> Notifications() const;
    std::vector<std::wstring> ReportLines() const;

    HWND window = nullptr; // Trevik's main window
    MockSimulator sim;
    Process trevik;
    TempFolder folder;

private:
    // The log as read so far: the tail is read on each look, not the whole file.
    const std::string& VcText() const;

    std::wstring vcLog_;
    mutable std::string vcText_;
    std::string eventName_;
    HANDLE go_ = nullptr;
};

// The messages the simulator should see for the strokes, spelled out here
// rather than taken from the translation code.
enum class Key { Up, Down, Kp5, Kp0, Kp7, Kp1, Kp4 };
struct KeyMsg {
    UINT message;
    std::uint64_t wParam;
    std::uint64_t lParam;
    bool operator==(const KeyMsg&) const = default;
};
void PrintTo(const KeyMsg& m, std::ostream* os);
std::vector<KeyMsg> MessagesFor(const std::vector<Key>& keys);
std::vector<KeyMsg> Received(const std::vector<SimMessage>& log);
std::string Describe(const std::vector<KeyMsg>& messages);

// An independent model of the translation: readings to strokes.
class TranslationModel {
public:
    TranslationModel(std::uint32_t xMax, std::uint32_t yMax);
    // Strokes for one notification.
    std::vector<Key> Move(std::uint16_t x, std::uint16_t y);
    std::vector<Key> Buttons(std::uint64_t wParam) const;
    int sent() const { return sent_; }
    int target() const { return target_; }

private:
    std::int32_t xHalf_, yHalf_;
    int brake_ = 0, power_ = 0, sent_ = -1, target_ = 0;
};

} // namespace trevik::e2e

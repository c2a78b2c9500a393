// What the end-to-end programs share: child processes that cannot outlive the
// test, windows found by process, waits that always end, and file helpers.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace trevik::e2e {

// A host path (as ctest passes it) made usable under Wine; Windows paths unchanged.
std::wstring WindowsPath(const std::string& path);
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

std::string ReadFileText(const std::wstring& path);
void WriteFileText(const std::wstring& path, const std::string& text);
bool CopyInto(const std::wstring& from, const std::wstring& folder);

// A fresh folder under the temp directory, removed with its files at the end.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& tag);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Polls `done` until it holds or `timeout` passes, pumping this thread's messages.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));

// A child process, killed if it is still running when this goes away (and with
// its job, if the test itself dies).
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Environment entries ("NAME=value") are added to this process's own.
    bool Start(const std::wstring& exe, const std::wstring& args,
               const std::vector<std::wstring>& environment = {});
    bool Running() const;
    // Exit code, or nullopt-like -1 when it did not end within `timeout`.
    bool WaitExit(std::chrono::milliseconds timeout, DWORD* code = nullptr);
    void Kill();
    HANDLE handle() const { return process_; }
    DWORD id() const { return id_; }

private:
    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The process's visible top-level window of the class (any class when empty).
HWND TopWindowOf(DWORD pid, const wchar_t* cls = nullptr);
std::vector<HWND> ChildrenOf(HWND parent);
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);

std::int64_t QpcNow();
double QpcSeconds(std::int64_t ticks);

} // namespace trevik::e2e

namespace trevik::e2e {

// One message the mock simulator logged.
struct SimMessage {
    std::int64_t time; // QPC ticks
    bool toCab;        // the child that should get every stroke (else the top window)
    UINT message;
    std::uint64_t wParam;
    std::uint64_t lParam;
    int position; // the handle after the message
};

// The mock simulator, started and driven through its window.
class MockSimulator {
public:
    ~MockSimulator();
    bool Start(const std::wstring& exe, const std::wstring& log, const std::wstring& title);
    bool ComeToFront();
    int Position() const;
    std::uint64_t Flush() const; // key messages seen so far; the log is written out
    void Stall(DWORD ms) const;
    void Hide() const;
    // Key messages (WM_KEYFIRST..WM_KEYLAST) in the order received.
    std::vector<SimMessage> KeyMessages() const;
    bool Close();

    HWND window = nullptr;
    HWND cab = nullptr;
    Process process;

private:
    std::wstring log_;
};

} // namespace trevik::e2e

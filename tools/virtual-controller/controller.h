// The virtual controller's state, shared by the winmm exports, the notifier
// thread and the panel. One instance lives in the dll.
#pragma once

#include "scenario.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace trevik::vc {

class Log {
public:
    Log();
    ~Log();
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    void Open(const std::string& path);
    // One line: tag, QPC time, text. `flush` for the lines a test waits for.
    void Line(char tag, bool flush, const char* format, ...) __attribute__((format(printf, 4, 5)));

private:
    CRITICAL_SECTION lock_;
    std::FILE* file_ = nullptr;
};

std::int64_t Now();

class Controller {
public:
    Controller();
    ~Controller();

    Scenario scenario;
    Log log;

    // The reading the next move notification carries; also what the panel sets.
    void SetReading(std::uint32_t x, std::uint32_t y);
    void Reading(std::uint32_t& x, std::uint32_t& y, std::uint32_t& buttons);
    // The held buttons become `bits`: one button notification per change.
    void Press(std::uint32_t bits);

    MMRESULT Capture(HWND hwnd, UINT id, UINT period, BOOL changed);
    MMRESULT Release(UINT id);

    // Called by our window procedure in front of the subscribed window's, once
    // a notification has been handled (it began at `begin`).
    void Handled(UINT message, std::int64_t begin);
    bool IsNotification(UINT message) const;

private:
    static DWORD WINAPI NotifierMain(void* self);
    void RunTimeline();
    void PostMove();
    void Post(UINT message, WPARAM wp, LPARAM lp);
    bool Pause(DWORD ms); // false once stopping

    CRITICAL_SECTION lock_;
    HWND window_ = nullptr;
    UINT id_ = 0;
    DWORD period_ = 20;
    std::uint64_t sequence_ = 0;     // notifications posted
    std::uint64_t handledCount_ = 0; // notifications handled (window thread only)
    HANDLE stop_ = nullptr;          // manual-reset: the subscription ends
    HANDLE handled_ = nullptr;       // auto-reset: a posted notification was handled
    HANDLE go_ = nullptr;            // the scenario's named event
    HANDLE notifier_ = nullptr;      // thread
};

Controller& TheController();

void StartPanel(Controller& controller);

} // namespace trevik::vc

#include "e2e_support.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace trevik::e2e {

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring WindowsPath(const std::string& path) {
    std::wstring w = Widen(path);
    if (!w.empty() && w[0] == L'/') {
        w = L"Z:" + w;
    }
    for (wchar_t& c : w) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return w;
}

std::string ReadFileText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileText(const std::wstring& path, const std::string& text) {
    std::ofstream(path.c_str(), std::ios::binary) << text;
}

bool CopyInto(const std::wstring& from, const std::wstring& folder) {
    const std::wstring name = from.substr(from.find_last_of(L"\\/") + 1);
    return CopyFileW(from.c_str(), (folder + L"\\" + name).c_str(), FALSE) != FALSE;
}

TempFolder::TempFolder(const std::wstring& tag) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    path_ = std::wstring(temp) + L"trevik-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"-" + tag;
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((path_ + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(path_.c_str());
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
    for (;;) {
        if (done()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&m);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

Process::~Process() {
    Kill();
}

bool Process::Start(const std::wstring& exe, const std::wstring& args,
                    const std::vector<std::wstring>& environment) {
    // Our environment block plus the additions; later entries win.
    std::vector<std::pair<std::wstring, std::wstring>> saved;
    for (const std::wstring& entry : environment) {
        const auto eq = entry.find(L'=');
        const std::wstring name = entry.substr(0, eq);
        wchar_t old[4096];
        const DWORD n = GetEnvironmentVariableW(name.c_str(), old, 4096);
        saved.emplace_back(name, n > 0 && n < 4096 ? std::wstring(old) : std::wstring(1, L'\0'));
        SetEnvironmentVariableW(name.c_str(), entry.substr(eq + 1).c_str());
    }
    std::wstring command = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const BOOL ok = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE,
                                   CREATE_SUSPENDED, nullptr, nullptr, &si, &pi);
    for (const auto& [name, value] : saved) {
        SetEnvironmentVariableW(name.c_str(),
                                value.size() == 1 && value[0] == L'\0' ? nullptr : value.c_str());
    }
    if (!ok) {
        return false;
    }
    job_ = CreateJobObjectW(nullptr, nullptr);
    if (job_ != nullptr) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        AssignProcessToJobObject(job_, pi.hProcess);
    }
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    id_ = pi.dwProcessId;
    return true;
}

bool Process::Running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(std::chrono::milliseconds timeout, DWORD* code) {
    if (process_ == nullptr) {
        return false;
    }
    const bool ended = WaitUntil([&] { return !Running(); }, timeout);
    if (ended && code != nullptr) {
        GetExitCodeProcess(process_, code);
    }
    return ended;
}

void Process::Kill() {
    if (process_ != nullptr) {
        if (Running()) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
        process_ = nullptr;
    }
    if (job_ != nullptr) {
        CloseHandle(job_);
        job_ = nullptr;
    }
}

HWND TopWindowOf(DWORD pid, const wchar_t* cls) {
    struct Search {
        DWORD pid;
        const wchar_t* cls;
        HWND found;
    } search{pid, cls, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != s->pid || !IsWindowVisible(w)) {
                return TRUE;
            }
            if (s->cls != nullptr && ClassOf(w) != s->cls) {
                return TRUE;
            }
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::int64_t QpcNow() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double QpcSeconds(std::int64_t ticks) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(ticks) / frequency;
}

} // namespace trevik::e2e

#include "tools/mock-simulator/sim_protocol.h"

namespace trevik::e2e {

MockSimulator::~MockSimulator() {
    Close();
}

bool MockSimulator::Start(const std::wstring& exe, const std::wstring& log,
                          const std::wstring& title) {
    log_ = log;
    if (!process.Start(exe, L"--log \"" + log + L"\" --title \"" + title + L"\"")) {
        return false;
    }
    WaitUntil([&] { return (window = TopWindowOf(process.id(), sim::kWindowClass)) != nullptr; });
    cab = window ? GetWindow(window, GW_CHILD) : nullptr;
    return cab != nullptr;
}

bool MockSimulator::ComeToFront() {
    return WaitUntil(
        [&] {
            PostMessageW(window, sim::kFront, 0, 0);
            return WaitUntil([&] { return GetForegroundWindow() == window; },
                             std::chrono::milliseconds(200));
        },
        std::chrono::seconds(10));
}

int MockSimulator::Position() const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, sim::kPosition, 0, 0, SMTO_NORMAL, 10000, &result);
    return static_cast<int>(static_cast<LRESULT>(result));
}

std::uint64_t MockSimulator::Flush() const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, sim::kFlush, 0, 0, SMTO_NORMAL, 10000, &result);
    return result;
}

void MockSimulator::Stall(DWORD ms) const {
    PostMessageW(window, sim::kStall, ms, 0);
}

void MockSimulator::Hide() const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, sim::kHide, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

std::vector<SimMessage> MockSimulator::KeyMessages() const {
    std::vector<SimMessage> out;
    std::istringstream lines(ReadFileText(log_));
    std::string line;
    while (std::getline(lines, line)) {
        long long t = 0;
        char window[8] = {};
        unsigned msg = 0;
        unsigned long long wp = 0, lp = 0;
        int pos = 0;
        if (std::sscanf(line.c_str(), "M %lld %7s %x %llx %llx %d", &t, window, &msg, &wp, &lp,
                        &pos) == 6 &&
            msg >= WM_KEYFIRST && msg <= WM_KEYLAST) {
            out.push_back({t, std::string(window) == "cab", msg, wp, lp, pos});
        }
    }
    return out;
}

bool MockSimulator::Close() {
    if (!process.Running()) {
        return true;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    const bool ended = process.WaitExit(std::chrono::seconds(10));
    process.Kill();
    return ended;
}

} // namespace trevik::e2e

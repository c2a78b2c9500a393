#include "forms/application.h"

#include "forms/controls.h"

#include <commctrl.h>

#include <string>

namespace forms {
namespace {

constexpr wchar_t kApplicationClass[] = L"TrevikApplication";

std::wstring Widen(const char* text) {
    // Exception messages are UTF-8 (or plain ASCII).
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

std::wstring MessageOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return Widen(e.what());
    } catch (...) {
        return L"An unknown error occurred.";
    }
}

} // namespace

int SystemPrompter::ShowMessageBox(HWND owner, std::wstring_view text, std::wstring_view caption,
                                   UINT flags) {
    const std::wstring t(text), c(caption);
    return MessageBoxW(owner, t.c_str(), c.c_str(), flags);
}

void SystemPrompter::ShowException(HWND owner, std::wstring_view title, std::wstring_view message) {
    const std::wstring t(title), m(message);
    MessageBoxW(owner, m.c_str(), t.c_str(), MB_OK | MB_ICONSTOP);
}

Application::Application(HINSTANCE instance) : instance_(instance) {}

Application::~Application() {
    // Forms go before the window that owns their message boxes, newest first.
    while (!forms_.empty()) {
        forms_.back()->Release();
        forms_.pop_back();
    }
    main_ = nullptr;
}

void Application::Initialize() {
    if (initialised_) {
        return;
    }
    initialised_ = true;
    // The manifest declares this already; a program without one gets it here.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS |
                                             ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterControlClasses(instance_);

    WNDCLASSEXW wc{};
    wc.cbSize = static_cast<UINT>(sizeof wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance_;
    wc.lpszClassName = kApplicationClass;
    RegisterClassExW(&wc);
    // Never shown: it owns message boxes and carries the title.
    window_.reset(CreateWindowExW(0, kApplicationClass, title_.c_str(), WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, instance_, nullptr));
}

void Application::SetTitle(std::wstring_view title) {
    title_ = title;
    if (window_) {
        SetWindowTextW(window_.get(), title_.c_str());
    }
}

void Application::Adopt(std::unique_ptr<Form> form) {
    Form& f = *form;
    forms_.push_back(std::move(form));
    if (main_ == nullptr) {
        main_ = &f;
    }
    try {
        f.RunCreateHandler();
    } catch (...) {
        ShowException(std::current_exception());
    }
}

void Application::Run() {
    if (main_ == nullptr || main_->Handle() == nullptr) {
        return;
    }
    running_ = true;
    main_->Show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        Pump(msg);
    }
    running_ = false;
}

void Application::Pump(MSG& msg) {
    if (msg.hwnd != nullptr) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        for (const auto& form : forms_) {
            if (root == nullptr || form->Handle() != root) {
                continue;
            }
            form->RelayToHints(msg);
            if (IsDialogMessageW(root, &msg)) {
                return;
            }
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int Application::ShowMessageBox(std::wstring_view text, std::wstring_view caption, UINT flags) {
    return prompter_->ShowMessageBox(window_.get(), text, caption, flags);
}

void Application::ShowException(std::exception_ptr error) noexcept {
    try {
        prompter_->ShowException(window_.get(), title_, MessageOf(error));
    } catch (...) {
        // Nothing more can be shown; the program goes on.
    }
}

} // namespace forms

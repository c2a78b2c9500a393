// The application object: initialises the form layer, holds the title and
// the forms (the first one created is the main form), runs the message loop,
// and shows message boxes and exceptions through a replaceable prompter.
#pragma once

#include "forms/form.h"
#include "forms/handles.h"
#include "forms/win32.h"

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace forms {

// Where message boxes and exception reports go. The system's message box by
// default; tests answer them instead.
class Prompter {
public:
    virtual int ShowMessageBox(HWND owner, std::wstring_view text, std::wstring_view caption,
                               UINT flags) = 0;
    virtual void ShowException(HWND owner, std::wstring_view title, std::wstring_view message) = 0;

protected:
    ~Prompter() = default;
};

class SystemPrompter final : public Prompter {
public:
    int ShowMessageBox(HWND owner, std::wstring_view text, std::wstring_view caption,
                       UINT flags) override;
    void ShowException(HWND owner, std::wstring_view title, std::wstring_view message) override;
};

class Application {
public:
    explicit Application(HINSTANCE instance = GetModuleHandleW(nullptr));
    ~Application(); // destroys the forms, last created first
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Common controls, DPI awareness, our window classes and the
    // application's own (hidden) window. Safe to call more than once.
    void Initialize();

    void SetTitle(std::wstring_view title);
    const std::wstring& Title() const { return title_; }

    // Constructs a form, runs its creation handler (an exception from it is
    // shown and creation goes on) and keeps it. The first is the main form.
    template <class F, class... Args> F& CreateForm(Args&&... args) {
        auto form = std::make_unique<F>(*this, std::forward<Args>(args)...);
        F& created = *form;
        Adopt(std::move(form));
        return created;
    }

    // Shows the main form and dispatches messages until it is closed.
    void Run();
    bool Running() const { return running_; }
    // Translates and dispatches one message, with keyboard navigation for forms.
    void Pump(MSG& msg);

    // A message box owned by the application's window.
    int ShowMessageBox(std::wstring_view text, std::wstring_view caption, UINT flags);
    // Shows an exception's message; never throws.
    void ShowException(std::exception_ptr error) noexcept;

    void SetPrompter(Prompter* prompter) { prompter_ = prompter != nullptr ? prompter : &system_; }

    HINSTANCE Instance() const { return instance_; }
    HWND Handle() const { return window_.get(); }
    Form* MainForm() const { return main_; }

private:
    void Adopt(std::unique_ptr<Form> form);

    HINSTANCE instance_;
    std::wstring title_;
    bool initialised_ = false;
    bool running_ = false;
    SystemPrompter system_;
    Prompter* prompter_ = &system_;
    UniqueWindow window_;
    std::vector<std::unique_ptr<Form>> forms_;
    Form* main_ = nullptr;
};

} // namespace forms

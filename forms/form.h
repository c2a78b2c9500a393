// The form base: a top-level window built from a form description, with
// creation and destruction handlers, modal showing and a message dispatch
// table. Everything a form does not handle goes to DefWindowProc.
#pragma once

#include "forms/controls.h"
#include "forms/form_description.h"
#include "forms/handles.h"
#include "forms/win32.h"

#include <span>
#include <string_view>
#include <vector>

namespace forms {

class Application;

struct Message {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
};

// One line of a form's dispatch table: message number to member handler.
template <class F> struct MessageEntry {
    UINT message;
    void (F::*handler)(Message&);
};

// One line of a form's click table: control name to member handler.
template <class F> struct ClickEntry {
    const char* control;
    void (F::*handler)();
};

inline constexpr int kModalNone = 0;
inline constexpr int kModalOk = IDOK;
inline constexpr int kModalCancel = IDCANCEL;

class Form {
public:
    Form(Application& app, const FormDesc& desc);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND Handle() const { return window_.get(); }
    Application& App() const { return app_; }
    UINT Dpi() const { return dpi_; }

    void Show();
    void Hide();
    bool Visible() const;
    // Shows the form with its owner disabled and dispatches messages (for all
    // windows of the thread) until a modal result is set; returns it.
    int ShowModal();
    void SetModalResult(int result) { modalResult_ = result; }
    bool InModal() const { return inModal_; }

    // The control of that name, nullptr when the description has none.
    HWND ControlHandle(std::string_view name) const;
    // The tooltip window that shows the controls' hints, if any has one.
    HWND HintWindow() const { return tooltip_.get(); }
    // Shows the mouse to the hint window; the message loop calls this for
    // every message that goes to one of the form's windows.
    void RelayToHints(const MSG& msg) const;

protected:
    // Runs once construction is complete, before the form is first shown.
    virtual void FormCreate() {}
    // Runs when the form's window is destroyed.
    virtual void FormDestroy() {}
    // The form's own handling; true when the message was handled.
    virtual bool Dispatch(Message& m);
    // A control's click; true when the form handles it.
    virtual bool Click(std::string_view /*control*/) { return false; }

    template <class C> C Bind(std::string_view name) const { return C(RequireControl(name)); }

private:
    friend class Application;

    struct Built {
        const ControlDesc* desc;
        HWND hwnd;
    };
    struct Font {
        const FontDesc* desc;
        UniqueFont font;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND RequireControl(std::string_view name) const;
    const Built* FindBuilt(HWND hwnd) const;
    const Built* FindBuilt(int id) const;
    HFONT FontFor(const FontDesc* font) const;
    void CreateFonts();
    void LoadImages();
    void BuildControls();
    void ApplyTabOrder();
    void AddHints();
    void Layout(const RECT* suggested);
    void PlaceWindow(const RECT* suggested);
    void RunCreateHandler();
    void Release();
    bool IsMain() const;
    bool HandleCommand(Message& m);
    bool HandleControlColour(Message& m) const;

    Application& app_;
    const FormDesc& desc_;
    UINT dpi_ = 96;
    int modalResult_ = kModalNone;
    bool inModal_ = false;
    bool destroyed_ = false;
    HWND focus_ = nullptr; // control to give the focus back to on activation

    // Declared before the windows that use them, so they outlive them.
    std::vector<Font> fonts_;
    UniqueIcon bigIcon_, smallIcon_;
    std::vector<UniqueIcon> images_;
    std::vector<UniqueBitmap> glyphs_;

    UniqueWindow window_;
    std::vector<Built> controls_; // children of window_, destroyed with it
    UniqueWindow tooltip_;        // owned by window_; destroyed first
};

// The base for concrete forms: walks the derived form's dispatch and click
// tables, which it provides as static MessageMap() and ClickMap().
template <class Derived> class FormOf : public Form {
protected:
    using Form::Form;

    bool Dispatch(Message& m) override {
        for (const MessageEntry<Derived>& e : Derived::MessageMap()) {
            if (e.message == m.msg) {
                (static_cast<Derived&>(*this).*e.handler)(m);
                return true;
            }
        }
        return Form::Dispatch(m);
    }

    bool Click(std::string_view control) override {
        for (const ClickEntry<Derived>& e : Derived::ClickMap()) {
            if (control == e.control) {
                (static_cast<Derived&>(*this).*e.handler)();
                return true;
            }
        }
        return false;
    }
};

} // namespace forms

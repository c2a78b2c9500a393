// Views onto the controls of a form. The controls are real child windows of
// standard classes (or, for panel, speed button and image, of our own small
// classes) so that screen readers and UI automation can read them; the form's
// window owns them, these views only address them.
#pragma once

#include "forms/colour.h"
#include "forms/win32.h"

#include <string>
#include <string_view>

namespace forms {

class Control {
public:
    explicit Control(HWND hwnd) : hwnd_(hwnd) {}
    HWND Handle() const { return hwnd_; }
    void SetEnabled(bool enabled) const { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
    bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
    std::wstring Text() const;

protected:
    HWND hwnd_;
};

class Label : public Control {
public:
    using Control::Control;
    // Writes the caption and sizes the label to it, keeping its left and top
    // (and its width when it wraps). Labels are also sized to their designed
    // text when laid out, so no font clips them.
    void SetText(std::wstring_view text) const;
};

class Memo : public Control {
public:
    using Control::Control;
    void Clear() const;
    void AppendLine(std::wstring_view line) const;
    // Caret to the start and the first line into view.
    void ScrollToTop() const;
};

class GroupBox : public Control {
public:
    using Control::Control;
};

class Panel : public Control {
public:
    using Control::Control;
    void SetColour(Colour colour) const;
    Colour GetColour() const;
};

class ProgressBar : public Control {
public:
    using Control::Control;
    void SetRange(int low, int high) const;
    void SetPosition(int position) const;
    int Position() const;
};

class Button : public Control {
public:
    using Control::Control;
};

class SpeedButton : public Control {
public:
    using Control::Control;
};

class Image : public Control {
public:
    using Control::Control;
};

// Our own control classes and their messages.
inline constexpr wchar_t kPanelClass[] = L"TrevikPanel";
inline constexpr wchar_t kSpeedButtonClass[] = L"TrevikSpeedButton";
inline constexpr wchar_t kImageClass[] = L"TrevikImage";

inline constexpr UINT kPanelSetColour = WM_USER + 0x100;      // wParam: Colour bits
inline constexpr UINT kPanelGetColour = WM_USER + 0x101;      // returns Colour bits
inline constexpr UINT kPanelSetBevels = WM_USER + 0x102;      // wParam: outer, lParam: inner
inline constexpr UINT kSpeedButtonSetGlyph = WM_USER + 0x110; // lParam: HBITMAP, not owned
inline constexpr UINT kImageSetIcon = WM_USER + 0x120;        // lParam: HICON, not owned

// Registers our own control classes; safe to call more than once.
void RegisterControlClasses(HINSTANCE instance);

// Sizes a label to its current text with its current font.
void AutoSizeLabel(HWND label);

// A group box passes its children's notifications on to its own parent,
// where the form handles them, fills its inside, and draws its caption in the
// colour its parent gives (grey while disabled).
void MakeGroupBox(HWND groupBox);

} // namespace forms

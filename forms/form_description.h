// A form as data: the window's own settings and a table of control
// descriptors, read by one builder (Form's constructor) much like a dialog
// template. Positions and sizes are in pixels at 96 DPI.
#pragma once

#include "forms/colour.h"
#include "forms/win32.h"

#include <span>

namespace forms {

enum class ControlKind {
    Label,       // STATIC, sizes itself to text written at run time
    Memo,        // multi-line EDIT: editable, wrapping, vertical scroll bar
    GroupBox,    // BUTTON group box; disabling it greys only its caption
    Panel,       // our own class: fills its colour, caption centred
    ProgressBar, // msctls_progress32
    Button,      // push button
    SpeedButton, // our own class: flat, glyph from a two-image bitmap
    Image,       // our own class: an icon stretched to the control
};

struct FontDesc {
    const wchar_t* face;
    int height; // LOGFONT lfHeight at 96 DPI: negative for character height
    BYTE charset;
    bool bold = false;
    Colour colour = kWindowText;
};

// Panel bevels, drawn from the outside in.
enum class Bevel { None, Raised, Lowered };

struct ControlSettings {
    const wchar_t* hint = nullptr;    // shown as a tooltip
    int rangeMin = 0, rangeMax = 100; // progress bar
    int position = 0;                 // progress bar
    Bevel bevelOuter = Bevel::Raised; // panel
    Bevel bevelInner = Bevel::None;   // panel
    Colour colour = kBtnFace;         // panel
    bool parentColour = false;        // panel: the parent's colour instead of its own
    bool wordWrap = false;            // label
    bool defaultButton = false;       // button: Enter presses it
    int modalResult = 0;              // button: closes a modal form with this result
    WORD glyph = 0;                   // speed button: bitmap resource id
    WORD icon = 0;                    // image: icon resource id
};

inline constexpr int kNoTabOrder = -1;

struct ControlDesc {
    ControlKind kind;
    const char* name;
    const char* parent; // nullptr: the form itself
    int left, top, width, height;
    const wchar_t* text;
    const FontDesc* font; // nullptr: the form's font
    ControlSettings settings;
    int tabOrder; // within the parent; kNoTabOrder for controls that take no focus
};

enum class BorderStyle {
    Single, // fixed frame, system menu and minimise box
    Dialog, // dialog frame, system menu only
};

enum class FormPosition {
    Designed,     // at left, top
    ScreenCentre, // centred on the screen each time it is shown
};

struct FormDesc {
    const wchar_t* caption;
    int left, top;                 // of the window
    int clientWidth, clientHeight; // of the client area
    BorderStyle border;
    FormPosition position;
    FontDesc font;
    WORD icon; // icon resource id for the title bar, 0 for none
    std::span<const ControlDesc> controls;
};

} // namespace forms

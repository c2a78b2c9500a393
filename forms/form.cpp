#include "forms/form.h"

#include "forms/application.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace forms {
namespace {

constexpr wchar_t kFormClass[] = L"TrevikForm";
constexpr int kFirstControlId = 100; // clear of IDOK and IDCANCEL

struct ClassAndStyle {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

// How each kind of control is made: window class and styles.
ClassAndStyle ClassOf(const ControlDesc& c) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const ControlSettings& s = c.settings;
    switch (c.kind) {
    case ControlKind::Label:
        return {L"STATIC",
                child | SS_NOPREFIX | (s.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                    (s.hint != nullptr ? SS_NOTIFY : 0),
                0};
    case ControlKind::Memo:
        return {L"EDIT",
                child | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                WS_EX_CLIENTEDGE};
    case ControlKind::GroupBox:
        return {L"BUTTON", (child & ~WS_CLIPSIBLINGS) | BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case ControlKind::Panel:
        return {kPanelClass, child, WS_EX_CONTROLPARENT};
    case ControlKind::ProgressBar:
        return {PROGRESS_CLASSW, child, 0};
    case ControlKind::Button:
        return {L"BUTTON",
                child | WS_TABSTOP | (s.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0};
    case ControlKind::SpeedButton:
        return {kSpeedButtonClass, child, 0};
    case ControlKind::Image:
        return {kImageClass, child, 0};
    }
    throw std::logic_error("unknown control kind");
}

DWORD FormStyle(BorderStyle border) {
    return border == BorderStyle::Single
               ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN
               : WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD FormExStyle(BorderStyle border) {
    return border == BorderStyle::Single ? WS_EX_CONTROLPARENT
                                         : WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
}

void RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = static_cast<UINT>(sizeof wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc); // fails harmlessly when already registered
}

int Scaled(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), 96);
}

// A glyph-only speed button draws no text; its hint as window text names it
// for screen readers.
const wchar_t* WindowText(const ControlDesc& c) {
    if (c.text != nullptr) {
        return c.text;
    }
    if (c.kind == ControlKind::SpeedButton && c.settings.hint != nullptr) {
        return c.settings.hint;
    }
    return L"";
}

// Faces to use when a designed face is not installed, in order of preference;
// without any of them the font mapper chooses by character set alone, and may
// pick a font that lacks Latin letters.
struct FaceFallback {
    const wchar_t* face;
    const wchar_t* fallbacks[5];
};
constexpr FaceFallback kFaceFallbacks[] = {
    // IPAPGothic has the same metrics; the others are Windows' own Japanese
    // UI faces and a common free one.
    {L"ＭＳ Ｐゴシック",
     {L"MS PGothic", L"IPAPGothic", L"Yu Gothic UI", L"Meiryo UI", L"Noto Sans CJK JP"}},
};

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

bool FaceInstalled(HDC dc, const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

const wchar_t* InstalledFace(HDC dc, const wchar_t* face) {
    if (dc == nullptr || FaceInstalled(dc, face)) {
        return face;
    }
    for (const FaceFallback& f : kFaceFallbacks) {
        if (lstrcmpW(f.face, face) != 0) {
            continue;
        }
        for (const wchar_t* fallback : f.fallbacks) {
            if (FaceInstalled(dc, fallback)) {
                return fallback;
            }
        }
    }
    return face;
}

} // namespace

Form::Form(Application& app, const FormDesc& desc) : app_(app), desc_(desc) {
    app_.Initialize();
    RegisterFormClass(app_.Instance(), WindowProc);
    const DWORD style = FormStyle(desc_.border);
    HWND owner = app_.MainForm() != nullptr ? app_.MainForm()->Handle() : nullptr;
    // WM_NCCREATE stores `this` and the handle, so the form sees its
    // messages from the start.
    HWND hwnd = CreateWindowExW(FormExStyle(desc_.border), kFormClass, desc_.caption, style,
                                desc_.left, desc_.top, desc_.clientWidth, desc_.clientHeight, owner,
                                nullptr, app_.Instance(), this);
    if (hwnd == nullptr) {
        throw std::runtime_error("the form's window could not be created");
    }
    dpi_ = GetDpiForWindow(hwnd);
    if (dpi_ == 0) {
        dpi_ = 96;
    }
    try {
        CreateFonts();
        LoadImages();
        BuildControls();
        ApplyTabOrder();
        AddHints();
        Layout(nullptr);
    } catch (...) {
        // A half-built form must not see its own destruction messages.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        tooltip_.reset();
        window_.reset();
        throw;
    }
}

Form::~Form() {
    tooltip_.reset();
    if (window_) {
        // No virtual handler may run once the derived part is gone.
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    }
    window_.reset();
}

void Form::RunCreateHandler() {
    FormCreate();
}

void Form::Release() {
    tooltip_.reset();
    if (window_) {
        // WM_DESTROY runs FormDestroy; WM_NCDESTROY forgets the handle.
        DestroyWindow(window_.get());
        window_.release();
    }
}

bool Form::IsMain() const {
    return app_.MainForm() == this;
}

void Form::Show() {
    if (!window_) {
        return;
    }
    if (desc_.position == FormPosition::ScreenCentre && !Visible()) {
        PlaceWindow(nullptr);
    }
    ShowWindow(window_.get(), SW_SHOW);
    SetForegroundWindow(window_.get());
    UpdateWindow(window_.get());
}

void Form::Hide() {
    if (window_) {
        ShowWindow(window_.get(), SW_HIDE);
    }
}

bool Form::Visible() const {
    return window_ && IsWindowVisible(window_.get()) != FALSE;
}

int Form::ShowModal() {
    if (!window_ || inModal_) {
        return kModalCancel;
    }
    HWND owner = GetWindow(window_.get(), GW_OWNER);
    const bool reenable = owner != nullptr && IsWindowEnabled(owner) != FALSE;
    // Undo everything even if a dispatch throws: owner enabled, form hidden.
    struct Restore {
        Form& form;
        HWND owner;
        bool reenable;
        ~Restore() {
            if (reenable) {
                EnableWindow(owner, TRUE); // before hiding, so the owner is activated
            }
            form.Hide();
            form.inModal_ = false;
        }
    } restore{*this, owner, reenable};
    if (reenable) {
        EnableWindow(owner, FALSE);
    }
    modalResult_ = kModalNone;
    inModal_ = true;
    Show();
    MSG msg;
    while (modalResult_ == kModalNone && window_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // the outer loop ends too
            return kModalCancel;
        }
        if (got == -1) {
            return kModalCancel;
        }
        app_.Pump(msg);
    }
    return modalResult_ == kModalNone ? kModalCancel : modalResult_;
}

HWND Form::ControlHandle(std::string_view name) const {
    for (const Built& b : controls_) {
        if (name == b.desc->name) {
            return b.hwnd;
        }
    }
    return nullptr;
}

HWND Form::RequireControl(std::string_view name) const {
    HWND hwnd = ControlHandle(name);
    if (hwnd == nullptr) {
        throw std::logic_error("no control named " + std::string(name) + " in the form");
    }
    return hwnd;
}

const Form::Built* Form::FindBuilt(HWND hwnd) const {
    for (const Built& b : controls_) {
        if (b.hwnd == hwnd) {
            return &b;
        }
    }
    return nullptr;
}

const Form::Built* Form::FindBuilt(int id) const {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(controls_.size())) {
        return nullptr;
    }
    return &controls_[static_cast<std::size_t>(index)];
}

HFONT Form::FontFor(const FontDesc* font) const {
    const FontDesc* wanted = font != nullptr ? font : &desc_.font;
    for (const Font& f : fonts_) {
        if (f.desc == wanted) {
            return f.font.get();
        }
    }
    return nullptr;
}

// One font per distinct description, at the form's DPI.
void Form::CreateFonts() {
    std::vector<const FontDesc*> descs{&desc_.font};
    for (const ControlDesc& c : desc_.controls) {
        if (c.font != nullptr && std::find(descs.begin(), descs.end(), c.font) == descs.end()) {
            descs.push_back(c.font);
        }
    }
    HDC screen = GetDC(nullptr);
    std::vector<Font> fonts;
    for (const FontDesc* desc : descs) {
        fonts.push_back(
            {desc, UniqueFont(CreateFontW(Scaled(desc->height, dpi_), 0, 0, 0,
                                          desc->bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                          desc->charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                          InstalledFace(screen, desc->face)))});
    }
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    fonts_ = std::move(fonts); // on a change of DPI the caller keeps the old ones in use
}

// Icons and glyphs are loaded once; a missing resource leaves the picture empty.
void Form::LoadImages() {
    HINSTANCE instance = app_.Instance();
    if (desc_.icon != 0) {
        bigIcon_.reset(static_cast<HICON>(LoadImageW(
            instance, MAKEINTRESOURCEW(desc_.icon), IMAGE_ICON,
            GetSystemMetricsForDpi(SM_CXICON, dpi_), GetSystemMetricsForDpi(SM_CYICON, dpi_), 0)));
        smallIcon_.reset(
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(desc_.icon), IMAGE_ICON,
                                          GetSystemMetricsForDpi(SM_CXSMICON, dpi_),
                                          GetSystemMetricsForDpi(SM_CYSMICON, dpi_), 0)));
        SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
        SendMessageW(window_.get(), WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(smallIcon_.get()));
    }
}

void Form::BuildControls() {
    HINSTANCE instance = app_.Instance();
    controls_.reserve(desc_.controls.size());
    for (const ControlDesc& c : desc_.controls) {
        HWND parent = window_.get();
        if (c.parent != nullptr) {
            parent = ControlHandle(c.parent);
            if (parent == nullptr) {
                throw std::logic_error(std::string("control ") + c.name +
                                       " comes before its parent " + c.parent);
            }
        }
        const ClassAndStyle cs = ClassOf(c);
        const int id = kFirstControlId + static_cast<int>(controls_.size());
        HWND hwnd = CreateWindowExW(
            cs.exStyle, cs.windowClass, WindowText(c), cs.style, c.left, c.top, c.width, c.height,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (hwnd == nullptr) {
            throw std::runtime_error(std::string("control ") + c.name + " could not be created");
        }
        controls_.push_back({&c, hwnd});
        const ControlSettings& s = c.settings;
        switch (c.kind) {
        case ControlKind::GroupBox:
            MakeGroupBox(hwnd);
            break;
        case ControlKind::Panel:
            SendMessageW(hwnd, kPanelSetBevels, static_cast<WPARAM>(s.bevelOuter),
                         static_cast<LPARAM>(s.bevelInner));
            // Every form and container here has the button face.
            Panel(hwnd).SetColour(s.parentColour ? kBtnFace : s.colour);
            break;
        case ControlKind::ProgressBar:
            ProgressBar(hwnd).SetRange(s.rangeMin, s.rangeMax);
            ProgressBar(hwnd).SetPosition(s.position);
            break;
        case ControlKind::SpeedButton:
            if (s.glyph != 0) {
                glyphs_.emplace_back(static_cast<HBITMAP>(LoadImageW(
                    instance, MAKEINTRESOURCEW(s.glyph), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
                SendMessageW(hwnd, kSpeedButtonSetGlyph, 0,
                             reinterpret_cast<LPARAM>(glyphs_.back().get()));
            }
            break;
        case ControlKind::Image:
            if (s.icon != 0) {
                images_.emplace_back(static_cast<HICON>(
                    LoadImageW(instance, MAKEINTRESOURCEW(s.icon), IMAGE_ICON, 32, 32, 0)));
                SendMessageW(hwnd, kImageSetIcon, 0,
                             reinterpret_cast<LPARAM>(images_.back().get()));
            }
            break;
        default:
            break;
        }
    }
}

// Tab order is window order among siblings: arrange each parent's children
// by their tab order, those without one last, in table order.
void Form::ApplyTabOrder() {
    std::vector<const Built*> order;
    for (const Built& b : controls_) {
        order.push_back(&b);
    }
    auto key = [](const Built* b) {
        return b->desc->tabOrder == kNoTabOrder ? INT_MAX : b->desc->tabOrder;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const Built* a, const Built* b) { return key(a) < key(b); });
    std::vector<std::pair<HWND, HWND>> lastOfParent; // parent, its last placed child
    for (const Built* b : order) {
        HWND parent = GetParent(b->hwnd);
        auto it = std::find_if(lastOfParent.begin(), lastOfParent.end(),
                               [&](const auto& p) { return p.first == parent; });
        HWND after = HWND_TOP;
        if (it == lastOfParent.end()) {
            lastOfParent.emplace_back(parent, b->hwnd);
        } else {
            after = it->second;
            it->second = b->hwnd;
        }
        SetWindowPos(b->hwnd, after, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

void Form::AddHints() {
    const bool any = std::any_of(controls_.begin(), controls_.end(),
                                 [](const Built& b) { return b.desc->settings.hint != nullptr; });
    if (!any) {
        return;
    }
    tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_.get(),
                                   nullptr, app_.Instance(), nullptr));
    if (!tooltip_) {
        return; // hints are a help, not a need
    }
    for (const Built& b : controls_) {
        if (b.desc->settings.hint == nullptr) {
            continue;
        }
        TTTOOLINFOW ti{};
        ti.cbSize =
            static_cast<UINT>(offsetof(TTTOOLINFOW, lpReserved)); // understood by every comctl32
        // Mouse messages are relayed from the message loop (RelayToHints)
        // rather than by subclassing: a subclassed control costs a property
        // lookup in the system for every message it gets, status updates too.
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = window_.get();
        ti.uId = reinterpret_cast<UINT_PTR>(b.hwnd);
        ti.lpszText = const_cast<LPWSTR>(b.desc->settings.hint);
        SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void Form::RelayToHints(const MSG& msg) const {
    if (tooltip_ && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
        SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
}

void Form::PlaceWindow(const RECT* suggested) {
    HWND hwnd = window_.get();
    RECT r{0, 0, Scaled(desc_.clientWidth, dpi_), Scaled(desc_.clientHeight, dpi_)};
    AdjustWindowRectExForDpi(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)), dpi_);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    int x = Scaled(desc_.left, dpi_);
    int y = Scaled(desc_.top, dpi_);
    if (suggested != nullptr) {
        x = suggested->left;
        y = suggested->top;
    } else if (desc_.position == FormPosition::ScreenCentre) {
        MONITORINFO mi{};
        mi.cbSize = static_cast<DWORD>(sizeof mi);
        GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &mi);
        x = mi.rcMonitor.left + (mi.rcMonitor.right - mi.rcMonitor.left - width) / 2;
        y = mi.rcMonitor.top + (mi.rcMonitor.bottom - mi.rcMonitor.top - height) / 2;
    }
    SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Places the window and every control at the form's DPI.
void Form::Layout(const RECT* suggested) {
    PlaceWindow(suggested);
    for (const Built& b : controls_) {
        const ControlDesc& c = *b.desc;
        SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
        SetWindowPos(b.hwnd, nullptr, Scaled(c.left, dpi_), Scaled(c.top, dpi_),
                     Scaled(c.width, dpi_), Scaled(c.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
        if (c.kind == ControlKind::Label) {
            AutoSizeLabel(b.hwnd); // the designed size fits the designed font only
        }
    }
    InvalidateRect(window_.get(), nullptr, TRUE);
}

bool Form::HandleCommand(Message& m) {
    const int id = LOWORD(m.wParam);
    if (m.lParam == 0 || HIWORD(m.wParam) != BN_CLICKED) {
        // Escape in a modal form arrives as IDCANCEL from the dialog navigation.
        if (id == IDCANCEL && inModal_) {
            modalResult_ = kModalCancel;
            return true;
        }
        return false;
    }
    const Built* b = FindBuilt(id);
    if (b == nullptr || b->hwnd != reinterpret_cast<HWND>(m.lParam)) {
        return false;
    }
    const bool handled = Click(b->desc->name);
    if (b->desc->settings.modalResult != kModalNone) {
        modalResult_ = b->desc->settings.modalResult;
        return true;
    }
    return handled;
}

// Labels draw in their font's colour on the form's face; a disabled group
// box's caption is grey (not every system's group box does this itself).
bool Form::HandleControlColour(Message& m) const {
    const Built* b = FindBuilt(reinterpret_cast<HWND>(m.lParam));
    if (b == nullptr) {
        return false;
    }
    COLORREF text = 0;
    if (b->desc->kind == ControlKind::Label) {
        text = (b->desc->font != nullptr ? b->desc->font : &desc_.font)->colour.Resolve();
    } else if (b->desc->kind == ControlKind::GroupBox && IsWindowEnabled(b->hwnd) == FALSE) {
        text = GetSysColor(COLOR_GRAYTEXT);
    } else {
        return false;
    }
    auto dc = reinterpret_cast<HDC>(m.wParam);
    SetTextColor(dc, text);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    m.result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

bool Form::Dispatch(Message& m) {
    switch (m.msg) {
    case WM_COMMAND:
        return HandleCommand(m);
    case WM_CTLCOLORSTATIC:
        return HandleControlColour(m);
    case DM_GETDEFID:
        for (const Built& b : controls_) {
            if (b.desc->settings.defaultButton) {
                m.result = MAKELRESULT(GetDlgCtrlID(b.hwnd), DC_HASDEFID);
                return true;
            }
        }
        return false;
    case WM_ACTIVATE:
        if (LOWORD(m.wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            focus_ = (focus != nullptr && IsChild(window_.get(), focus)) ? focus : nullptr;
        } else {
            HWND target = (focus_ != nullptr && IsWindow(focus_))
                              ? focus_
                              : GetNextDlgTabItem(window_.get(), nullptr, FALSE);
            if (target != nullptr) {
                SetFocus(target);
            }
        }
        return true;
    case WM_CLOSE:
        if (inModal_) {
            modalResult_ = kModalCancel;
            return true;
        }
        if (!IsMain()) {
            Hide(); // only closing the main form ends the program
            return true;
        }
        return false; // DefWindowProc destroys the window
    case WM_DPICHANGED: {
        dpi_ = HIWORD(m.wParam);
        const std::vector<Font> previous = std::move(fonts_); // in use until re-laid
        CreateFonts();
        Layout(reinterpret_cast<const RECT*>(m.lParam));
        return true;
    }
    case WM_DESTROY:
        // The system destroys owned windows such as the tooltip first.
        if (tooltip_ && IsWindow(tooltip_.get()) == FALSE) {
            tooltip_.release();
        }
        if (!destroyed_) {
            destroyed_ = true;
            FormDestroy();
        }
        if (IsMain() && app_.Running()) {
            PostQuitMessage(0);
        }
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->window_.reset(hwnd);
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        form->window_.release();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    Message m{msg, wp, lp};
    // No exception may cross into the system's code that called us: it is
    // shown, and the program goes on.
    try {
        if (form->Dispatch(m)) {
            return m.result;
        }
    } catch (...) {
        form->app_.ShowException(std::current_exception());
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace forms

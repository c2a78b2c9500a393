#include "forms/controls.h"

#include "forms/form_description.h"

#include <commctrl.h>

#include <vector>

namespace forms {
namespace {

// Window extra slots of our own classes.
constexpr int kSlot = static_cast<int>(sizeof(LONG_PTR));
constexpr int kSlotColour = 0 * kSlot; // panel
constexpr int kSlotFont = 1 * kSlot;   // panel
constexpr int kSlotBevels = 2 * kSlot; // panel: outer | inner << 8
constexpr int kSlotImage = 0 * kSlot;  // speed button glyph, image icon
constexpr int kSlotState = 1 * kSlot;  // speed button hot/pressed bits
constexpr int kSlotCount = 3;

constexpr LONG_PTR kHot = 1;
constexpr LONG_PTR kPressed = 2;

LONG_PTR Slot(HWND hwnd, int slot) {
    return GetWindowLongPtrW(hwnd, slot);
}
void SetSlot(HWND hwnd, int slot, LONG_PTR value) {
    SetWindowLongPtrW(hwnd, slot, value);
}

// Notifications a container passes up, so that the form sees its
// grandchildren's clicks and colour requests as its own children's.
bool IsChildNotification(UINT msg) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_DRAWITEM:
        return true;
    default:
        return false;
    }
}

UINT EdgeOf(Bevel outer, Bevel inner) {
    UINT edge = 0;
    if (outer == Bevel::Raised) {
        edge |= BDR_RAISEDOUTER;
    } else if (outer == Bevel::Lowered) {
        edge |= BDR_SUNKENOUTER;
    }
    if (inner == Bevel::Raised) {
        edge |= BDR_RAISEDINNER;
    } else if (inner == Bevel::Lowered) {
        edge |= BDR_SUNKENINNER;
    }
    return edge;
}

void PaintPanel(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    // The stock DC brush takes any colour without creating a GDI object.
    SetDCBrushColor(
        dc, Colour::FromBits(static_cast<std::uint32_t>(Slot(hwnd, kSlotColour))).Resolve());
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    const LONG_PTR bevels = Slot(hwnd, kSlotBevels);
    const UINT edge = EdgeOf(static_cast<Bevel>(bevels & 0xFF), static_cast<Bevel>(bevels >> 8));
    RECT inner = rc;
    if (edge != 0) {
        DrawEdge(dc, &inner, edge, BF_RECT | BF_ADJUST);
    }
    const int length = GetWindowTextLengthW(hwnd);
    if (length > 0) {
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(hwnd, text.data(), length + 1);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(Slot(hwnd, kSlotFont)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, text.c_str(), length, &inner,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (IsChildNotification(msg)) {
        return SendMessageW(GetParent(hwnd), msg, wp, lp);
    }
    switch (msg) {
    case WM_NCCREATE:
        SetSlot(hwnd, kSlotColour, static_cast<LONG_PTR>(kBtnFace.Bits()));
        SetSlot(hwnd, kSlotBevels, static_cast<LONG_PTR>(Bevel::Raised));
        break;
    case kPanelSetColour:
        if (Slot(hwnd, kSlotColour) != static_cast<LONG_PTR>(wp)) {
            SetSlot(hwnd, kSlotColour, static_cast<LONG_PTR>(wp));
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case kPanelGetColour:
        return Slot(hwnd, kSlotColour);
    case kPanelSetBevels:
        SetSlot(hwnd, kSlotBevels, static_cast<LONG_PTR>(wp | (lp << 8)));
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETFONT:
        SetSlot(hwnd, kSlotFont, static_cast<LONG_PTR>(wp));
        if (LOWORD(lp) != 0) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_GETFONT:
        return Slot(hwnd, kSlotFont);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    case WM_ERASEBKGND:
        return 1; // painting fills everything
    case WM_PAINT:
        PaintPanel(hwnd);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void PaintSpeedButton(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    const LONG_PTR state = Slot(hwnd, kSlotState);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    // Flat: the edge shows only under the mouse or while pressed.
    if (enabled && (state & kPressed) != 0) {
        DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
    } else if (enabled && (state & kHot) != 0) {
        DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
    }
    auto glyph = reinterpret_cast<HBITMAP>(Slot(hwnd, kSlotImage));
    BITMAP bm{};
    if (glyph != nullptr && GetObjectW(glyph, static_cast<int>(sizeof bm), &bm) != 0 &&
        bm.bmHeight > 0) {
        // Two square images side by side: normal, then disabled.
        const int side = bm.bmHeight;
        const int images = bm.bmWidth / side;
        const int source = (!enabled && images > 1) ? side : 0;
        const int drawn = MulDiv(side, static_cast<int>(GetDpiForWindow(hwnd)), 96);
        const int shift = (state & kPressed) != 0 ? 1 : 0;
        const int x = (rc.right - drawn) / 2 + shift;
        const int y = (rc.bottom - drawn) / 2 + shift;
        HDC memory = CreateCompatibleDC(dc);
        if (memory != nullptr) {
            HGDIOBJ old = SelectObject(memory, glyph);
            // The lower-left pixel gives the colour drawn transparent.
            const COLORREF transparent = GetPixel(memory, 0, side - 1);
            TransparentBlt(dc, x, y, drawn, drawn, memory, source, 0, side, side, transparent);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
    }
    EndPaint(hwnd, &ps);
}

void SetSpeedState(HWND hwnd, LONG_PTR state) {
    if (Slot(hwnd, kSlotState) != state) {
        SetSlot(hwnd, kSlotState, state);
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void NotifyClicked(HWND hwnd) {
    SendMessageW(GetParent(hwnd), WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd));
}

LRESULT CALLBACK SpeedButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const LONG_PTR state = Slot(hwnd, kSlotState);
    switch (msg) {
    case kSpeedButtonSetGlyph:
        SetSlot(hwnd, kSlotImage, lp);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE: {
        if ((state & kHot) == 0) {
            TRACKMOUSEEVENT tme{static_cast<DWORD>(sizeof tme), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&tme);
        }
        LONG_PTR next = state | kHot;
        if (GetCapture() == hwnd) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            next = PtInRect(&rc, p) ? (next | kPressed) : (next & ~kPressed);
        }
        SetSpeedState(hwnd, next);
        return 0;
    }
    case WM_MOUSELEAVE:
        SetSpeedState(hwnd, state & ~kHot);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(hwnd);
        SetSpeedState(hwnd, state | kPressed);
        return 0;
    case WM_LBUTTONUP: {
        const bool clicked = GetCapture() == hwnd && (state & kPressed) != 0;
        ReleaseCapture(); // WM_CAPTURECHANGED clears the pressed look
        if (clicked) {
            NotifyClicked(hwnd);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        SetSpeedState(hwnd, Slot(hwnd, kSlotState) & ~kPressed);
        return 0;
    case BM_CLICK:
        NotifyClicked(hwnd);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintSpeedButton(hwnd);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK ImageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kImageSetIcon:
        SetSlot(hwnd, kSlotImage, lp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        if (auto icon = reinterpret_cast<HICON>(Slot(hwnd, kSlotImage)); icon != nullptr) {
            DrawIconEx(dc, 0, 0, icon, rc.right, rc.bottom, 0, nullptr, DI_NORMAL);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The group box draws its own etched frame and caption, so the caption takes
// the colour its parent chooses (grey while disabled) whatever the visual
// style would draw.
void PaintGroupBox(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(hwnd)));
    if (brush == nullptr) {
        brush = GetSysColorBrush(COLOR_BTNFACE);
    }
    RECT rc;
    GetClientRect(hwnd, &rc);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT frame = rc;
    frame.top += tm.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const int length = GetWindowTextLengthW(hwnd);
    if (length > 0) {
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(hwnd, text.data(), length + 1);
        const int indent = MulDiv(8, static_cast<int>(GetDpiForWindow(hwnd)), 96);
        RECT caption{indent, 0, rc.right - indent, tm.tmHeight};
        DrawTextW(dc, text.c_str(), length, &caption, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        RECT behind = caption;
        InflateRect(&behind, 2, 0);
        FillRect(dc, &behind, brush);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, text.c_str(), length, &caption, DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK GroupBoxSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                  DWORD_PTR) {
    if (msg == WM_PAINT) {
        PaintGroupBox(hwnd);
        return 0;
    }
    if (msg == WM_ENABLE) {
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    if (IsChildNotification(msg)) {
        return SendMessageW(GetParent(hwnd), msg, wp, lp);
    }
    if (msg == WM_ERASEBKGND) {
        // Under a parent that clips its children nobody else fills the inside.
        auto dc = reinterpret_cast<HDC>(wp);
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, wp, reinterpret_cast<LPARAM>(hwnd)));
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(dc, &rc, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, GroupBoxSubclass, id);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void RegisterOne(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style) {
    WNDCLASSEXW wc{};
    wc.cbSize = static_cast<UINT>(sizeof wc);
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = kSlotCount * kSlot;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = name;
    RegisterClassExW(&wc); // fails harmlessly when already registered
}

// A progress bar repaints itself at once on a new position. While this is
// alive it is not drawn; afterwards it is invalidated, so it is painted with
// the rest once its thread is idle, not in the middle of whatever set it.
class DeferredRepaint {
public:
    explicit DeferredRepaint(HWND hwnd) : hwnd_(hwnd) {
        SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    }
    ~DeferredRepaint() {
        SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    DeferredRepaint(const DeferredRepaint&) = delete;
    DeferredRepaint& operator=(const DeferredRepaint&) = delete;

private:
    HWND hwnd_;
};

} // namespace

std::wstring Control::Text() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void Label::SetText(std::wstring_view text) const {
    if (Text() == text) {
        return; // nothing to repaint or re-measure
    }
    const std::wstring copy(text);
    // The static control would redraw itself at once on new text; the text
    // is stored by the default handling and the label painted with the rest
    // once the thread is idle, not in the middle of a notification.
    DefWindowProcW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
    InvalidateRect(hwnd_, nullptr, TRUE);
    AutoSizeLabel(hwnd_);
}

void AutoSizeLabel(HWND label) {
    const bool wraps = (GetWindowLongPtrW(label, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
    RECT current;
    GetClientRect(label, &current);
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(label, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    if (text.empty()) {
        text = L" "; // an empty label keeps one line's height
    }
    HDC dc = GetDC(label);
    if (dc == nullptr) {
        return;
    }
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT r{0, 0, current.right, 0};
    const UINT format =
        DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    const int width = wraps ? current.right : r.right;
    if (width != current.right || r.bottom != current.bottom) {
        SetWindowPos(label, nullptr, 0, 0, width, r.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Memo::Clear() const {
    SetWindowTextW(hwnd_, L"");
}

void Memo::ScrollToTop() const {
    SendMessageW(hwnd_, EM_SETSEL, 0, 0);
    SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

void Memo::AppendLine(std::wstring_view line) const {
    // Every line ends with a line break, so the next one starts on its own.
    std::wstring added;
    const std::wstring current = Text();
    if (!current.empty() && !current.ends_with(L"\r\n")) {
        added = L"\r\n";
    }
    added.append(line);
    added.append(L"\r\n");
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(hwnd_));
    SendMessageW(hwnd_, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
}

void Panel::SetColour(Colour colour) const {
    SendMessageW(hwnd_, kPanelSetColour, colour.Bits(), 0);
}

Colour Panel::GetColour() const {
    return Colour::FromBits(static_cast<std::uint32_t>(SendMessageW(hwnd_, kPanelGetColour, 0, 0)));
}

void ProgressBar::SetRange(int low, int high) const {
    SendMessageW(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void ProgressBar::SetPosition(int position) const {
    if (Position() == position) {
        return; // nothing to repaint
    }
    const DeferredRepaint later(hwnd_);
    SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int ProgressBar::Position() const {
    return static_cast<int>(SendMessageW(hwnd_, PBM_GETPOS, 0, 0));
}

void RegisterControlClasses(HINSTANCE instance) {
    RegisterOne(instance, kPanelClass, PanelProc, 0);
    RegisterOne(instance, kSpeedButtonClass, SpeedButtonProc, CS_DBLCLKS);
    RegisterOne(instance, kImageClass, ImageProc, 0);
}

void MakeGroupBox(HWND groupBox) {
    SetWindowSubclass(groupBox, GroupBoxSubclass, 1, 0);
}

} // namespace forms

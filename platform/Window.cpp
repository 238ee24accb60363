#include "platform/Window.h"

#include "platform/ShownText.h"
#include "platform/SystemLibrary.h"

#include <algorithm>

namespace platform {

namespace {

constexpr DWORD WindowStyle = WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD WindowExStyle = WS_EX_CONTROLPARENT;
// Sent to a per-monitor aware window that has come to a monitor of another DPI (Windows 8.1 and later).
constexpr UINT DpiChangedMessage = 0x02E0;

// The DPI functions are younger than the oldest systems the program runs on.
SystemDll user32("user32.dll");

// A memory DC with the font selected, for measuring text.
class MeasuringDc {
public:
    explicit MeasuringDc(HFONT font) : font_(dc_.get(), font) {}
    HDC get() const { return dc_.get(); }

private:
    MemoryDc dc_{::CreateCompatibleDC(nullptr)};
    Selection font_;
};

// The DPI the system gives this program for the screen as a whole.
int SystemDpi()
{
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : DefaultDpi;
}

// The DPI of the monitor the window is on, where the system can tell it
// (Windows 10); elsewhere the system's. The windows open centred on the
// primary monitor, whose DPI that is on Windows 8.1 as well, and a move to a
// monitor of another DPI comes as WM_DPICHANGED.
int WindowDpi(HWND window)
{
    static SystemFunction<UINT(WINAPI*)(HWND)> dpiForWindow(user32, "GetDpiForWindow");
    UINT dpi = dpiForWindow(window);
    return dpi ? static_cast<int>(dpi) : SystemDpi();
}

bool ShiftDown()
{
    return (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

}  // namespace

Size ScreenSize()
{
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

int RoundHalfEven(int numerator, int denominator)
{
    int quotient = numerator / denominator;
    int remainder = numerator % denominator;
    if (remainder < 0) {  // floor division
        --quotient;
        remainder += denominator;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

void SleepDispatchingMessages(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (DWORD waited = 0; waited < milliseconds; waited = ::GetTickCount() - start) {
        DWORD woken = ::MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - waited, QS_ALLINPUT,
                                                    MWMO_INPUTAVAILABLE);
        if (woken == WAIT_FAILED) {
            ::Sleep(milliseconds - waited);
            return;
        }
        MSG message;
        while (PeekNextMessage(message))
            TranslateAndDispatch(message);
    }
}

int ScaleToDpi(int pixels, int dpi)
{
    return ::MulDiv(pixels, dpi, DefaultDpi);
}

Font Font::MessageFont(int dpi)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
        if (HFONT font = ::CreateFontIndirectA(&metrics.lfMessageFont))
            return Font(font);
    }
    LOGFONTA fallback{};
    fallback.lfHeight = -ScaleToDpi(11, dpi);  // a character height of 11 pixels
    fallback.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(fallback.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    return Font(::CreateFontIndirectA(&fallback));
}

int Font::LineHeight() const
{
    MeasuringDc dc(Handle());
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc.get(), &metrics);
    return metrics.tmHeight;
}

int Font::TextWidth(const std::string& text) const
{
    MeasuringDc dc(Handle());
    return TextExtent(dc.get(), text).cx;
}

int Font::WrappedHeight(const std::string& text, int width) const
{
    MeasuringDc dc(Handle());
    RECT rect{0, 0, width, 0};
    DrawShownText(dc.get(), text, rect, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    return rect.bottom - rect.top;
}

TopLevelWindow::TopLevelWindow(const std::string& title, Size client, const WindowKind& kind)
    : interactive_(kind.interactive),
      whiteBrush_(::CreateSolidBrush(RGB(255, 255, 255))),
      blackBrush_(::CreateSolidBrush(RGB(0, 0, 0)))
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    // Absent from programs without the resource (the tests): the window then has the default icon.
    RegisterWindowClass(kind.className, CS_NOCLOSE | CS_SAVEBITS, Procedure, ::LoadIconA(instance, "WARDCFGUP"),
                        ::LoadCursorA(nullptr, IDC_ARROW));
    Size outer = OuterFromClient(client);
    // The window procedure keeps the handle from WM_NCCREATE on.
    CreateWindowShowing(WindowExStyle, kind.className, title, WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.width,
                        outer.height, nullptr, 0, this);
    dpi_ = WindowDpi(Handle());
    font_ = Font::MessageFont(dpi_);
}

// The window goes first: its last messages may still ask for the brushes.
TopLevelWindow::~TopLevelWindow()
{
    window_.reset();
}

// The frame is the system's: where it scales frames for each monitor (Windows
// 10), at the DPI it gives the window, which the layout follows.
Size TopLevelWindow::OuterFromClient(Size client) const
{
    static SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)> adjustForDpi(user32,
                                                                                    "AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.width, client.height};
    if (!adjustForDpi(&rect, WindowStyle, FALSE, WindowExStyle, static_cast<UINT>(WindowDpi(Handle()))))
        ::AdjustWindowRectEx(&rect, WindowStyle, FALSE, WindowExStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

Size TopLevelWindow::ClientSize() const
{
    RECT rect{};
    ::GetClientRect(Handle(), &rect);
    return {rect.right, rect.bottom};
}

void TopLevelWindow::SetClientSize(Size client)
{
    Size outer = OuterFromClient(client);
    ::SetWindowPos(Handle(), nullptr, 0, 0, outer.width, outer.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Size TopLevelWindow::OuterSize() const
{
    RECT rect{};
    ::GetWindowRect(Handle(), &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void TopLevelWindow::MoveTo(int left, int top)
{
    ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TopLevelWindow::CentreOnScreen()
{
    Size screen = ScreenSize();
    Size outer = OuterSize();
    MoveTo(RoundHalfEven(screen.width - outer.width, 2), RoundHalfEven(screen.height - outer.height, 2));
}

void TopLevelWindow::Show()
{
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    // Disabled only once shown: Wine does not map a window that is disabled when it is shown.
    if (!interactive_)
        ::EnableWindow(Handle(), FALSE);
    ::UpdateWindow(Handle());
}

void TopLevelWindow::PaintNow()
{
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TopLevelWindow::SetFill(HWND child, Fill fill)
{
    fills_.emplace_back(child, fill);
}

void TopLevelWindow::SetButtonCode(HWND child, int code)
{
    buttons_.emplace_back(child, code);
}

void TopLevelWindow::SetDrawing(HWND child, Drawing drawing)
{
    drawings_.emplace_back(child, std::move(drawing));
}

int TopLevelWindow::ButtonCode(HWND child) const
{
    auto found = std::find_if(buttons_.begin(), buttons_.end(), [child](const auto& b) { return b.first == child; });
    return found == buttons_.end() ? 0 : found->second;
}

int TopLevelWindow::WaitForResult()
{
    while (Exists() && resultCode_ == 0) {
        ::WaitMessage();
        MSG message;
        while (PeekNextMessage(message))
            if (!HandleKey(message))
                TranslateAndDispatch(message);
    }
    return std::exchange(resultCode_, 0);
}

// Tab and Shift+Tab move the focus; Enter and Esc answer for a focused button.
bool TopLevelWindow::HandleKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || !Exists() ||
        (message.hwnd != Handle() && !::IsChild(Handle(), message.hwnd)))
        return false;
    HWND focus = ::GetFocus();
    switch (message.wParam) {
    case VK_TAB:
        if (HWND next = ::GetNextDlgTabItem(Handle(), focus, ShiftDown()))
            ::SetFocus(next);
        return true;
    case VK_RETURN:
        if (int code = ButtonCode(focus)) {
            resultCode_ = code;
            return true;
        }
        return false;
    case VK_ESCAPE:
        if (ButtonCode(focus)) {
            resultCode_ = -1;
            return true;
        }
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK TopLevelWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        // The creation parameter leads the record of either kind, ANSI or wide.
        auto* self = static_cast<TopLevelWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_.reset(window);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TopLevelWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefaultProcedure(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_.release();  // gone already: nothing left to destroy
        return DefaultProcedure(window, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT TopLevelWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = Handle();
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the whole client area is painted in WM_PAINT
    case WM_PAINT:
        Paint();
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
        return ChildColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        for (const auto& drawing : drawings_)
            if (drawing.first == item->hwndItem)
                drawing.second(item->hDC, item->rcItem);
        return TRUE;
    }
    case WM_CLOSE:
        if (!interactive_)
            return 0;  // not the user's to close
        break;
    case DpiChangedMessage:
        ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            if (int code = ButtonCode(reinterpret_cast<HWND>(lParam)))
                resultCode_ = code;
        return 0;
    case WM_ACTIVATE:
        // Like a dialog: the focused element survives a message box over the window.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(window, focus))
                savedFocus_ = focus;
        } else if (savedFocus_ && ::IsWindow(savedFocus_)) {
            ::SetFocus(savedFocus_);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefaultProcedure(window, message, wParam, lParam);
}

LRESULT TopLevelWindow::ChildColours(HDC dc, HWND child)
{
    auto found = std::find_if(fills_.begin(), fills_.end(), [child](const auto& f) { return f.first == child; });
    // The drop-down part of a list is a window of its own: it takes the list's white.
    Fill fill = found != fills_.end() ? found->second : ::GetParent(child) != Handle() ? Fill::White : Fill::Default;
    switch (fill) {
    case Fill::White:
        ::SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(whiteBrush_.get());
    case Fill::Black:
        ::SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(blackBrush_.get());
    case Fill::Default:
        break;
    }
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

// The children take the font of the new DPI before the window is laid out
// afresh, at the place the system suggests on the new monitor.
void TopLevelWindow::ChangeDpi(int dpi, const RECT& suggested)
{
    dpi_ = dpi;
    Font font = Font::MessageFont(dpi);
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.Handle()), FALSE);
    font_ = std::move(font);
    MoveTo(suggested.left, suggested.top);
    if (layout_)
        layout_();
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// Double-buffered: the background is drawn off screen and copied in one step.
void TopLevelWindow::Paint()
{
    PaintDc screen(Handle());
    Size client = ClientSize();
    MemoryDc buffer(::CreateCompatibleDC(screen.get()));
    GdiObject bitmap(::CreateCompatibleBitmap(screen.get(), std::max(client.width, 1), std::max(client.height, 1)));
    Selection drawingOnBitmap(buffer.get(), bitmap.get());
    RECT rect{0, 0, client.width, client.height};
    ::FillRect(buffer.get(), &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    ::BitBlt(screen.get(), 0, 0, client.width, client.height, buffer.get(), 0, 0, SRCCOPY);
}

}  // namespace platform

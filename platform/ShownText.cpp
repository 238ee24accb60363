#include "platform/ShownText.h"

#include "platform/Processes.h"

#include <algorithm>

namespace platform {

namespace {

// The text of a call that fills a buffer, given the length it asks for first.
template <typename Char, typename Fill>
std::basic_string<Char> Filled(LRESULT length, Fill fill)
{
    std::basic_string<Char> text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, Char());
    LRESULT filled = fill(&text[0], static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(filled, 0)));
    return text;
}

// A class of that name registered already is kept: the call then fails.
template <typename Char, typename WindowClass>
void Register(const Char* className, UINT style, WNDPROC procedure, HICON icon, HCURSOR cursor,
              ATOM(WINAPI* add)(const WindowClass*))
{
    WindowClass windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hIcon = icon;
    windowClass.hCursor = cursor;
    windowClass.lpszClassName = className;
    add(&windowClass);
}

}  // namespace

bool WideCalls()
{
    static const bool nt = PlatformId() == VER_PLATFORM_WIN32_NT;
    return nt;
}

std::wstring Widen(const std::string& text, UINT codePage)
{
    int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)),
                      L'\0');
    if (!wide.empty())
        ::MultiByteToWideChar(codePage, 0, text.data(), size, &wide[0], static_cast<int>(wide.size()));
    return wide;
}

std::string Narrow(const std::wstring& text, UINT codePage)
{
    int size = static_cast<int>(text.size());
    std::string narrow(static_cast<std::size_t>(
                           ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
                       '\0');
    if (!narrow.empty())
        ::WideCharToMultiByte(codePage, 0, text.data(), size, &narrow[0], static_cast<int>(narrow.size()), nullptr,
                              nullptr);
    return narrow;
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style)
{
    if (WideCalls())
        return ::MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), style);
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

void RegisterWindowClass(const char* className, UINT style, WNDPROC procedure, HICON icon, HCURSOR cursor)
{
    if (WideCalls())
        Register(Widen(className).c_str(), style, procedure, icon, cursor, ::RegisterClassExW);
    else
        Register(className, style, procedure, icon, cursor, ::RegisterClassExA);
}

HWND CreateWindowShowing(DWORD exStyle, const char* className, const std::string& text, DWORD style, int left,
                         int top, int width, int height, HWND parent, int id, void* parameter)
{
    HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (WideCalls())
        return ::CreateWindowExW(exStyle, Widen(className).c_str(), Widen(text).c_str(), style, left, top, width,
                                 height, parent, menu, instance, parameter);
    return ::CreateWindowExA(exStyle, className, text.c_str(), style, left, top, width, height, parent, menu,
                             instance, parameter);
}

LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return WideCalls() ? ::DefWindowProcW(window, message, wParam, lParam)
                       : ::DefWindowProcA(window, message, wParam, lParam);
}

bool PeekNextMessage(MSG& message)
{
    return (WideCalls() ? ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)
                        : ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) != FALSE;
}

void TranslateAndDispatch(const MSG& message)
{
    ::TranslateMessage(&message);
    if (WideCalls())
        ::DispatchMessageW(&message);
    else
        ::DispatchMessageA(&message);
}

void SetShownText(HWND window, const std::string& text)
{
    if (WideCalls())
        ::SetWindowTextW(window, Widen(text).c_str());
    else
        ::SetWindowTextA(window, text.c_str());
}

std::string ShownText(HWND window, UINT codePage)
{
    if (!WideCalls())
        return Filled<char>(::GetWindowTextLengthA(window),
                            [=](char* buffer, int size) { return ::GetWindowTextA(window, buffer, size); });
    return Narrow(Filled<wchar_t>(::GetWindowTextLengthW(window),
                                  [=](wchar_t* buffer, int size) { return ::GetWindowTextW(window, buffer, size); }),
                  codePage);
}

void AddListItem(HWND list, const std::string& item)
{
    if (WideCalls())
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    else
        ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

std::string ListItem(HWND list, int index, UINT codePage)
{
    if (!WideCalls())
        return Filled<char>(::SendMessageA(list, CB_GETLBTEXTLEN, index, 0), [=](char* buffer, int) {
            return ::SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
        });
    return Narrow(Filled<wchar_t>(::SendMessageW(list, CB_GETLBTEXTLEN, index, 0),
                                  [=](wchar_t* buffer, int) {
                                      return ::SendMessageW(list, CB_GETLBTEXT, index,
                                                            reinterpret_cast<LPARAM>(buffer));
                                  }),
                  codePage);
}

SIZE TextExtent(HDC dc, const std::string& text)
{
    SIZE extent{};
    if (WideCalls()) {
        std::wstring wide = Widen(text);
        ::GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &extent);
    } else {
        ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
    }
    return extent;
}

void DrawShownText(HDC dc, const std::string& text, RECT& rect, UINT format)
{
    if (WideCalls()) {
        std::wstring wide = Widen(text);
        ::DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &rect, format);
    } else {
        ::DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, format);
    }
}

}  // namespace platform

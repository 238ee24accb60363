// The calls that carry the texts the program shows. The program holds its
// texts in code page 1251. On the NT family they reach the screen through the
// wide functions, converted from code page 1251 here, so that they read right
// whatever code page the system keeps for programs that are not Unicode (an
// English, German or Kazakh Windows). The 9x family, whose wide functions are
// mostly stubs, keeps the ANSI calls. Which of the two is taken is decided once,
// from the platform id; every window, box and control goes the same way.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// The code page of every text the program holds, shows and stores.
constexpr UINT ProgramCodePage = 1251;

// True on the NT family: the wide calls are taken.
bool WideCalls();

std::wstring Widen(const std::string& text, UINT codePage = ProgramCodePage);
// Characters the code page lacks become its default character, as the ANSI calls make them.
std::string Narrow(const std::wstring& text, UINT codePage = ProgramCodePage);

// MessageBox: the button pressed (IDOK, IDCANCEL, ...), 0 when it could not be shown.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style);

// Registers the class; a class of that name registered already is kept.
void RegisterWindowClass(const char* className, UINT style, WNDPROC procedure, HICON icon, HCURSOR cursor);
HWND CreateWindowShowing(DWORD exStyle, const char* className, const std::string& text, DWORD style, int left,
                         int top, int width, int height, HWND parent, int id, void* parameter);
LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The thread's next message, taken from its queue; false when there is none.
bool PeekNextMessage(MSG& message);
void TranslateAndDispatch(const MSG& message);

void SetShownText(HWND window, const std::string& text);
// The window's text in the code page given; on the 9x family as the ANSI call gives it.
std::string ShownText(HWND window, UINT codePage);

// Adds an item to a drop-down list; its text read back in the code page given.
void AddListItem(HWND list, const std::string& item);
std::string ListItem(HWND list, int index, UINT codePage);

// The extent of text on one line, and the rectangle that DrawText fills (or measures) with it.
SIZE TextExtent(HDC dc, const std::string& text);
void DrawShownText(HDC dc, const std::string& text, RECT& rect, UINT format);

}  // namespace platform

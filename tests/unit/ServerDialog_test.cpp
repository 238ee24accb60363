// The server settings dialog as a real window: the test thread runs the
// dialog while a second thread drives it like a user and answers its boxes.
#include <gtest/gtest.h>

#include "CfgUnit/Configurator.h"
#include "CfgUnit/ControlIds.h"
#include "CfgUnit/ServerDialog.h"
#include "common/Text.h"
#include "platform/Controls.h"
#include "platform/SystemLibrary.h"
#include "support/Bounded.h"
#include "support/BoxDriver.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <cfenv>
#include <cstdlib>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace {

constexpr DWORD WaitLimitMs = 10000;

// As the program shows the dialog: with its manifest (tests/CMakeLists.txt) and visual styles.
class ProgramStart : public ::testing::Environment {
    void SetUp() override { platform::EnableVisualStyles(); }
};
::testing::Environment* const programStart = ::testing::AddGlobalTestEnvironment(new ProgramStart);

// The children of the dialog, each found by its control id.
enum Element {
    Label1, Field1, Label2, Field2, Label3, Field3, Label4, Field4,
    Accept, Decline, Comment, SeparatorLine, ElementCount
};
constexpr int ControlIds[ElementCount] = {ServerLabelId,   ServerFieldId,   NewHostLabelId, NewHostFieldId,
                                          LocationLabelId, LocationFieldId, ReserveLabelId, ReserveFieldId,
                                          AcceptButtonId,  DeclineButtonId, CommentId,      SeparatorId};

struct Rect {
    int left, top, width, height;
    bool operator==(const Rect& o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

std::ostream& operator<<(std::ostream& out, const Rect& r)
{
    return out << "{" << r.left << "," << r.top << " " << r.width << "x" << r.height << "}";
}

struct FindRequest {
    DWORD processId;
    std::string title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
{
    auto* request = reinterpret_cast<FindRequest*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    char title[256] = "";
    ::GetWindowTextA(window, title, sizeof title);
    if (pid == request->processId && ::IsWindowVisible(window) && request->title == title) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

// Acts on the dialog from the second thread; every wait is bounded.
class DialogDriver {
public:
    DialogDriver(DWORD uiThread, std::string title, std::vector<Answer> answers)
        : uiThread_(uiThread), title_(std::move(title)), boxes_(::GetCurrentProcessId(), std::move(answers))
    {
    }

    bool FindDialog()
    {
        FindRequest request{::GetCurrentProcessId(), title_, nullptr};
        if (!WaitUntil([&] {
                ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&request));
                return request.found != nullptr;
            }, WaitLimitMs))
            return false;
        dialog_ = request.found;
        int children = 0;
        for (HWND child = ::GetWindow(dialog_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            ++children;
        for (int id : ControlIds)
            elements_.push_back(::GetDlgItem(dialog_, id));
        bool everyId = std::count(elements_.begin(), elements_.end(), nullptr) == 0;
        // The dialog is ready once the new-host field has the focus.
        return children == ElementCount && everyId && WaitUntil([&] { return Focus() == Field2; }, WaitLimitMs);
    }

    HWND Dialog() const { return dialog_; }
    HWND Handle(Element element) const { return elements_[element]; }
    bool Open() const { return ::IsWindow(dialog_) != FALSE; }

    Rect RectOf(Element element) const
    {
        RECT rect = ChildRect(dialog_, elements_[element]);
        return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    }

    LRESULT Send(Element element, UINT message, WPARAM wParam, LPARAM lParam) const
    {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(elements_[element], message, wParam, lParam, SMTO_ABORTIFHUNG, WaitLimitMs, &result);
        return static_cast<LRESULT>(result);
    }

    void Type(Element element, const std::string& text) const
    {
        Send(element, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::string Text(Element element) const
    {
        char text[256] = "";
        Send(element, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void Select(int index) const { Send(Field1, CB_SETCURSEL, index, 0); }

    // The element with the keyboard focus, or ElementCount for none of them.
    int Focus() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!::GetGUIThreadInfo(uiThread_, &info))
            return ElementCount;
        for (int i = 0; i < ElementCount; ++i)
            if (elements_[i] == info.hwndFocus)
                return i;
        return ElementCount;
    }
    // Waits, bounded, for the focus to reach the element; answers where it is.
    int FocusAfterWait(Element expected) const
    {
        WaitUntil([&] { return Focus() == expected; }, 3000);
        return Focus();
    }

    void PressKey(WPARAM key) const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(uiThread_, &info);
        ::PostMessageA(info.hwndFocus ? info.hwndFocus : dialog_, WM_KEYDOWN, key, 1);
    }
    // Tab once and wait for the focus to move.
    int Tab() const
    {
        int from = Focus();
        PressKey(VK_TAB);
        WaitUntil([&] { return Focus() != from; }, 3000);
        return Focus();
    }

    // Shift+Tab as the keyboard delivers it to the window in front.
    int ShiftTab() const
    {
        int from = Focus();
        const WORD codes[4] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};
        INPUT keys[4]{};
        for (int i = 0; i < 4; ++i) {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = codes[i];
            keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
        }
        ::SendInput(4, keys, sizeof(INPUT));
        WaitUntil([&] { return Focus() != from; }, 3000);
        return Focus();
    }

    // The colour on screen at a point of the element's area, once it is painted.
    COLORREF ColourIn(Element element, int x, int y, COLORREF expected) const
    {
        Rect rect = RectOf(element);
        auto colour = [&] {
            HDC dc = ::GetDC(dialog_);
            COLORREF pixel = ::GetPixel(dc, rect.left + x, rect.top + y);
            ::ReleaseDC(dialog_, dc);
            return pixel;
        };
        WaitUntil([&] { return colour() == expected; }, 3000);
        return colour();
    }

    void Click(Element button) const { ::PostMessageA(elements_[button], BM_CLICK, 0, 0); }

    // Clicks accept and answers the boxes it raises; true when that many came.
    bool AcceptAnswering(std::size_t boxCount)
    {
        std::size_t before = boxes_.Records().size();
        Click(Accept);
        return WaitUntil([&] {
            boxes_.Step();
            return boxes_.Records().size() >= before + boxCount;
        }, WaitLimitMs);
    }

    bool WaitClosed() const
    {
        return WaitUntil([&] { return !Open(); }, WaitLimitMs);
    }

    // Leaves no box and no dialog behind, whatever the script did.
    void Finish()
    {
        WaitUntil([&] {
            boxes_.Step();
            if (Open())
                ::PostMessageA(dialog_, WM_CLOSE, 0, 0);
            return !Open();
        }, WaitLimitMs);
    }

    const std::vector<BoxRecord>& Boxes() const { return boxes_.Records(); }
    int Unscripted() const { return boxes_.Unscripted(); }

private:
    DWORD uiThread_;
    std::string title_;
    BoxDriver boxes_;
    HWND dialog_ = nullptr;
    std::vector<HWND> elements_;
};

using Script = std::function<void(DialogDriver&)>;

// One call of the dialog, driven by the script from another thread.
struct DialogCall {
    bool accepted = false;
    bool found = false;
    int chosen = -1;
    int target = -1;
    std::vector<BoxRecord> boxes;
    int unscripted = 0;
};

DialogCall RunDialog(TConfigurator& cfg, StringList servers, std::vector<Answer> answers, const Script& script,
                     int chosen = 100, int target = 200)
{
    DialogCall call;
    call.chosen = chosen;
    call.target = target;
    DWORD uiThread = ::GetCurrentThreadId();
    std::thread driverThread([&] {
        DialogDriver driver(uiThread, cfg.DialogCaptions.ValueOf("DialogCaption"), std::move(answers));
        call.found = driver.FindDialog();
        if (call.found)
            script(driver);
        driver.Finish();
        call.boxes = driver.Boxes();
        call.unscripted = driver.Unscripted();
    });
    call.accepted = RunServerDialog(cfg, servers, call.chosen, call.target);
    driverThread.join();
    return call;
}

StringList Servers(std::initializer_list<const char*> lines)
{
    StringList list;
    for (const char* line : lines)
        list.Add(line);
    return list;
}

StringList ThreeServers()
{
    return Servers({"alpha.example=3|wl.alpha:4000|", "beta.example=7|wl.beta:4001|rs.beta:4002",
                    "gamma.example=12|wl.gamma:4003|"});
}

std::string Lines(const StringList& list)
{
    std::string text;
    for (int i = 0; i < list.Count(); ++i)
        text += Utf8FromAnsi(list[i]) + "\n";
    return text;
}

// Fills rows 2 to 4 and accepts, answering that many boxes.
void FillAndAccept(DialogDriver& d, const std::string& host, const std::string& location,
                   const std::string& reserve, std::size_t boxCount = 0)
{
    d.Type(Field2, host);
    d.Type(Field3, location);
    d.Type(Field4, reserve);
    d.AcceptAnswering(boxCount);
}

// ---------------------------------------------------------------------------
// Layout

// The message font as the test measures it, apart from the dialog's own code (scaled to the DPI).
class TestFont {
public:
    explicit TestFont(int dpi = ScreenDpi()) : font_(MessageFont(dpi))
    {
        TEXTMETRICA text{};
        ::GetTextMetricsA(dc_.get(), &text);
        lineHeight = text.tmHeight;
    }
    int Width(const std::string& text) const
    {
        SIZE size{};
        ::GetTextExtentPoint32A(dc_.get(), text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    int lineHeight = 0;

private:
    static HFONT MessageFont(int dpi)
    {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, ScreenDpi());
        return ::CreateFontIndirectA(&metrics.lfMessageFont);
    }

    platform::GdiObject font_;
    platform::MemoryDc dc_{::CreateCompatibleDC(nullptr)};
    platform::Selection selected_{dc_.get(), font_.get()};
};

struct Layout {
    Rect elements[ElementCount];
    int clientWidth = 0;
    int clientHeight = 0;
};

int Nearest(double value)
{
    std::fesetround(FE_TONEAREST);
    return static_cast<int>(std::nearbyint(value));  // ties go to the even neighbour
}

// The expected positions for three servers (the 22-pixel list in row 1),
// given the height the comment needs; lengths and font scale from 96 DPI.
Layout ExpectedLayout(const TConfigurator& cfg, int commentHeight, int dpi = ScreenDpi())
{
    TestFont font(dpi);
    auto px = [dpi](int pixels) { return Scaled(pixels, dpi); };
    auto caption = [&](const char* key) { return cfg.DialogCaptions.ValueOf(key); };
    const char* labels[4] = {"OldWebServHostLabelCaption", "NewWebServHostLabelCaption", "NewWardLocLabelCaption",
                             "NewReserveWardLocLabelCaption"};
    Layout layout;
    const int fieldHeight = px(22);
    int y = px(10);
    int labelsRight = 0;
    for (int row = 0; row < 4; ++row) {
        int width = font.Width(caption(labels[row]));
        layout.elements[2 * row] = {px(5), y, width, font.lineHeight};
        layout.elements[2 * row + 1] = {0, y, 0, fieldHeight};
        y += std::max(fieldHeight, font.lineHeight) + px(10);
        labelsRight = std::max(labelsRight, px(5) + width);
    }
    int clientWidth = labelsRight + px(200) + px(5);
    y += px(10);
    int buttonTop = y;
    int buttonHeight = font.lineHeight + 2 * px(platform::ButtonMarginY);
    int buttonWidth = std::max(font.Width(caption("AcceptButtonCaption")),
                               font.Width(caption("DeclineButtonCaption"))) + 2 * px(platform::ButtonMarginX);
    y += buttonHeight + px(10);
    clientWidth = std::max(clientWidth, 2 * buttonWidth + 3 * px(5));
    int gap = Nearest((clientWidth - 2 * buttonWidth) / 3.0);
    layout.elements[Accept] = {gap, buttonTop, buttonWidth, buttonHeight};
    layout.elements[Decline] = {2 * gap + buttonWidth, buttonTop, buttonWidth, buttonHeight};
    for (int row = 0; row < 4; ++row) {
        Rect& field = layout.elements[2 * row + 1];
        field.left = labelsRight;
        field.width = clientWidth - px(5) - labelsRight;
    }
    for (int i = 0; i < Comment; ++i)
        layout.elements[i].top += commentHeight;
    layout.clientWidth = clientWidth;
    layout.clientHeight = y + commentHeight;
    layout.elements[Comment] = {0, 0, clientWidth, commentHeight};
    layout.elements[SeparatorLine] = {0, layout.clientHeight - buttonHeight - 2 * px(10), clientWidth, px(1)};
    return layout;
}

struct LiveLayout {
    Layout layout;
    RECT window{};
};

// The layout of the dialog of three servers, after what `first` does to it.
LiveLayout ReadLayout(TConfigurator& cfg, const Script& first = nullptr)
{
    LiveLayout live;
    RunDialog(cfg, ThreeServers(), {}, [&](DialogDriver& d) {
        if (first)
            first(d);
        for (int i = 0; i < ElementCount; ++i)
            live.layout.elements[i] = d.RectOf(static_cast<Element>(i));
        RECT client{};
        ::GetClientRect(d.Dialog(), &client);
        live.layout.clientWidth = client.right;
        live.layout.clientHeight = client.bottom;
        ::GetWindowRect(d.Dialog(), &live.window);
        d.Click(Decline);
        d.WaitClosed();
    });
    return live;
}

void ExpectElements(const Layout& expected, const LiveLayout& live)
{
    EXPECT_EQ(expected.clientWidth, live.layout.clientWidth);
    EXPECT_EQ(expected.clientHeight, live.layout.clientHeight);
    for (int i = 0; i < ElementCount; ++i)
        EXPECT_EQ(expected.elements[i], live.layout.elements[i]) << "element " << i;
}

void ExpectLayout(const Layout& expected, const LiveLayout& live)
{
    ExpectElements(expected, live);
    // Centred on the screen.
    int width = live.window.right - live.window.left;
    int height = live.window.bottom - live.window.top;
    EXPECT_EQ(Nearest((::GetSystemMetrics(SM_CXSCREEN) - width) / 2.0), live.window.left);
    EXPECT_EQ(Nearest((::GetSystemMetrics(SM_CYSCREEN) - height) / 2.0), live.window.top);
}

TEST(ServerDialogLayout, DefaultCaptionsGiveFieldsOf200PixelsAt96Dpi)
{
    TConfigurator cfg;
    LiveLayout live = ReadLayout(cfg);
    TestFont font;
    // The default comment fits one line.
    Layout expected = ExpectedLayout(cfg, font.lineHeight);
    ExpectLayout(expected, live);
    EXPECT_EQ(Scaled(200), live.layout.elements[Field1].width);
}

TEST(ServerDialogLayout, WideButtonsWidenTheWindowAndTheFields)
{
    TConfigurator cfg;
    cfg.DialogCaptions.SetValue("AcceptButtonCaption", "Обновить настройки защищаемого сервера и Warden сейчас");
    cfg.DialogCaptions.SetValue("DeclineButtonCaption", "Выход");
    cfg.DialogCaptions.SetValue("CommentLabelText",
                                "Добавление настройки в Warden: выберите сервер, введите новый адрес сервера, "
                                "адрес и порт сервера Warden и, если он есть, резервного сервера Warden");
    LiveLayout live = ReadLayout(cfg);
    TestFont font;
    int commentHeight = live.layout.elements[Comment].height;
    EXPECT_GE(commentHeight, 2 * font.lineHeight) << "the long comment wraps";
    EXPECT_EQ(0, commentHeight % font.lineHeight) << "whole lines";
    Layout expected = ExpectedLayout(cfg, commentHeight);
    ExpectLayout(expected, live);
    EXPECT_GT(live.layout.elements[Field1].width, Scaled(200));
    EXPECT_EQ(live.layout.clientWidth, 2 * live.layout.elements[Accept].width + 3 * Scaled(5));
}

// The tests run at 96 DPI, and again in a prefix set to 144 DPI
// (WINE_RUN_DPI, tests/CMakeLists.txt): the geometry above holds at both.
TEST(ServerDialogLayout, TheTestsRunAtTheDpiOfTheirPrefix)
{
    const char* prefixDpi = std::getenv("WINE_RUN_DPI");
    EXPECT_EQ(prefixDpi ? std::atoi(prefixDpi) : 96, ScreenDpi());
}

// Moved to a monitor of another DPI, the window takes the place the system
// suggests there and lays everything out again for that DPI, font included.
TEST(ServerDialogLayout, ADpiChangeLaysTheDialogOutAgainForTheNewDpi)
{
    TConfigurator cfg;
    const int otherDpi = ScreenDpi() == 96 ? 144 : 96;
    LiveLayout live = ReadLayout(cfg, [&](DialogDriver& d) {
        RECT suggested{100, 50, 700, 450};
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(d.Dialog(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(otherDpi, otherDpi),
                              reinterpret_cast<LPARAM>(&suggested), SMTO_ABORTIFHUNG, WaitLimitMs, &result);
    });
    // The default comment fits one line.
    ExpectElements(ExpectedLayout(cfg, TestFont(otherDpi).lineHeight, otherDpi), live);
    EXPECT_EQ(100, live.window.left);
    EXPECT_EQ(50, live.window.top);
}

TEST(ServerDialogLayout, HalvesRoundToTheEvenNeighbour)
{
    EXPECT_EQ(2, platform::RoundHalfEven(5, 2));
    EXPECT_EQ(4, platform::RoundHalfEven(7, 2));
    EXPECT_EQ(3, platform::RoundHalfEven(10, 3));
    EXPECT_EQ(4, platform::RoundHalfEven(11, 3));
    EXPECT_EQ(-2, platform::RoundHalfEven(-3, 2));
    EXPECT_EQ(-2, platform::RoundHalfEven(-5, 2));
    EXPECT_EQ(-3, platform::RoundHalfEven(-8, 3));
}

// ---------------------------------------------------------------------------
// Elements, focus and keys

TEST(ServerDialogElements, OneServerShowsItsHostReadOnlyOutsideTheTabOrder)
{
    TConfigurator cfg;
    std::string shown;
    LONG style = 0;
    std::vector<int> tabs;
    std::vector<Rect> rows;
    DialogCall call = RunDialog(cfg, Servers({"bank.example=3|wl.old:4000|"}), {}, [&](DialogDriver& d) {
        for (Element element : {Label1, Field1, Label2, Field2, Label3, Field3, Label4, Field4})
            rows.push_back(d.RectOf(element));
        shown = d.Text(Field1);
        style = ::GetWindowLongA(d.Handle(Field1), GWL_STYLE);
        for (int i = 0; i < 5; ++i)
            tabs.push_back(d.Tab());
        // The field shows something else: the one server is still the one chosen.
        d.Type(Field1, "elsewhere.example");
        FillAndAccept(d, "new.example", "wl.new:5000", "");
        d.WaitClosed();
    });
    ASSERT_TRUE(call.found);
    EXPECT_EQ("bank.example", shown);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_CENTER);
    EXPECT_FALSE(style & ES_AUTOHSCROLL);
    EXPECT_EQ((std::vector<int>{Field3, Field4, Accept, Decline, Field2}), tabs);
    // Every field as high as the read-only one, which holds one line of text.
    TestFont font;
    ASSERT_EQ(8u, rows.size());
    EXPECT_GT(rows[1].height, font.lineHeight);
    for (int row = 1; row < 4; ++row) {
        EXPECT_EQ(rows[1].height, rows[2 * row + 1].height) << "row " << row + 1;
        EXPECT_EQ(rows[2 * row - 2].top + std::max(rows[1].height, font.lineHeight) + Scaled(10), rows[2 * row].top);
    }
    EXPECT_TRUE(call.accepted);
    EXPECT_EQ(3, call.chosen);
    EXPECT_EQ(200, call.target);
    EXPECT_EQ("elsewhere.example=new.example\n", Lines(cfg.WebServersHosts));
    EXPECT_EQ("wl.old:4000=wl.new:5000\n", Lines(cfg.WardLocations));
    EXPECT_TRUE(call.boxes.empty()) << Describe(call.boxes);
}

// The dialog owns its server field, an edit field or a drop-down list, as a Control.
TEST(ServerDialogElements, AFieldOfEitherKindIsDeletedThroughItsBase)
{
    EXPECT_TRUE(std::has_virtual_destructor<platform::Control>::value);
}

TEST(ServerDialogElements, ThreeServersAreListedInOrderWithNoneSelected)
{
    TConfigurator cfg;
    std::vector<std::string> items;
    LRESULT selected = 0;
    LONG style = 0;
    std::vector<int> tabs;
    DialogCall call = RunDialog(cfg, ThreeServers(), {}, [&](DialogDriver& d) {
        int count = static_cast<int>(d.Send(Field1, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char item[256] = "";
            d.Send(Field1, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            items.push_back(item);
        }
        selected = d.Send(Field1, CB_GETCURSEL, 0, 0);
        style = ::GetWindowLongA(d.Handle(Field1), GWL_STYLE);
        for (int i = 0; i < 6; ++i)
            tabs.push_back(d.Tab());
        for (int i = 0; i < 2; ++i)
            tabs.push_back(d.ShiftTab());
        d.Click(Decline);
        d.WaitClosed();
    });
    ASSERT_TRUE(call.found);
    EXPECT_EQ((std::vector<std::string>{"alpha.example", "beta.example", "gamma.example"}), items);
    EXPECT_EQ(CB_ERR, selected);
    EXPECT_EQ(CBS_DROPDOWNLIST, style & 3);
    EXPECT_FALSE(style & CBS_SORT);
    EXPECT_EQ((std::vector<int>{Field3, Field4, Accept, Decline, Field1, Field2, Field1, Decline}), tabs);
    EXPECT_FALSE(call.accepted);
}

TEST(ServerDialogElements, WindowHasNoSystemMenuNoSizingBorderWhiteFieldsAndABlackLine)
{
    TConfigurator cfg;
    LONG style = 0;
    LONG exStyle = 0;
    DWORD classStyle = 0;
    std::string title;
    std::vector<COLORREF> fields;
    COLORREF separator = 0;
    DialogCall call = RunDialog(cfg, Servers({"bank.example=3|wl.old:4000|"}), {}, [&](DialogDriver& d) {
        for (Element field : {Field1, Field2, Field3, Field4})
            fields.push_back(d.ColourIn(field, 4, d.RectOf(field).height / 2, RGB(255, 255, 255)));
        separator = d.ColourIn(SeparatorLine, d.RectOf(SeparatorLine).width / 2, 0, RGB(0, 0, 0));
        style = ::GetWindowLongA(d.Dialog(), GWL_STYLE);
        exStyle = ::GetWindowLongA(d.Dialog(), GWL_EXSTYLE);
        classStyle = ::GetClassLongA(d.Dialog(), GCL_STYLE);
        char text[256] = "";
        ::GetWindowTextA(d.Dialog(), text, sizeof text);
        title = text;
        d.Click(Decline);
        d.WaitClosed();
    });
    ASSERT_TRUE(call.found);
    EXPECT_EQ("Обновление параметров Warden", title);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(exStyle & WS_EX_CLIENTEDGE);
    EXPECT_EQ(static_cast<DWORD>(CS_NOCLOSE | CS_SAVEBITS), classStyle & (CS_NOCLOSE | CS_SAVEBITS));
    EXPECT_EQ(std::vector<COLORREF>(4, RGB(255, 255, 255)), fields) << "white field backgrounds";
    EXPECT_EQ(RGB(0, 0, 0), separator);
}

// The file whose code runs a window (the wide procedure of a wide window, as the program makes them).
std::string ModuleOfProcedure(HWND window)
{
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(::GetWindowLongPtrW(window, GWLP_WNDPROC)), &module);
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(module, path, sizeof path);
    return LowerAscii(path);
}

// The buttons, fields and list are the controls of Common Controls 6, which
// draw themselves in the system's visual style: from the side-by-side
// assembly that the manifest names, not version 5 of the system directory.
TEST(ServerDialogElements, TheControlsAreThoseOfCommonControls6)
{
    TConfigurator cfg;
    std::vector<std::string> modules;
    RunDialog(cfg, ThreeServers(), {}, [&](DialogDriver& d) {
        for (Element element : {Field1, Field2, Accept, Decline})
            modules.push_back(ModuleOfProcedure(d.Handle(element)));
        d.Click(Decline);
        d.WaitClosed();
    });
    ASSERT_EQ(4u, modules.size());
    const char* const parts[] = {"\\winsxs\\", "microsoft.windows.common-controls_6595b64144ccf1df_6.", "\\comctl32.dll"};
    for (const std::string& module : modules)
        for (const char* part : parts)
            EXPECT_NE(std::string::npos, module.find(part)) << module;
}

void TabTo(DialogDriver& d, Element target)
{
    for (int i = 0; i < ElementCount && d.Focus() != target; ++i)
        d.Tab();
}

TEST(ServerDialogElements, EnterOnAButtonAnswersItsCodeAndEscDeclines)
{
    {
        TConfigurator cfg;
        DialogCall call = RunDialog(cfg, ThreeServers(), {}, [&](DialogDriver& d) {
            d.Select(2);
            d.Type(Field2, "new.example");
            d.Type(Field3, "wl.new:5000");
            TabTo(d, Accept);
            d.PressKey(VK_RETURN);
            d.WaitClosed();
        });
        EXPECT_TRUE(call.accepted);
        EXPECT_EQ(12, call.chosen);
    }
    {
        TConfigurator cfg;
        bool openAfterEscInField = false;
        DialogCall call = RunDialog(cfg, ThreeServers(), {}, [&](DialogDriver& d) {
            d.Select(2);
            d.Type(Field2, "new.example");
            d.Type(Field3, "wl.new:5000");
            d.PressKey(VK_ESCAPE);
            ::Sleep(200);
            openAfterEscInField = d.Open();
            TabTo(d, Accept);
            d.PressKey(VK_ESCAPE);
            d.WaitClosed();
        });
        EXPECT_TRUE(openAfterEscInField);
        EXPECT_FALSE(call.accepted);
        EXPECT_EQ(0, cfg.WebServersHosts.Count());
        EXPECT_TRUE(call.boxes.empty()) << Describe(call.boxes);
    }
}

// ---------------------------------------------------------------------------
// Checks and results

TEST(ServerDialogChecks, AcceptingWithoutAChoiceAmongSeveralServersKeepsTheDialogOpen)
{
    TempDir dir;
    bool openAfterBox = false;
    int focus = ElementCount;
    std::string log;
    DialogCall call;
    {
        TConfigurator cfg;
        cfg.OpenLog(dir / "run.log");
        call = RunDialog(cfg, ThreeServers(), {Answer::Ok}, [&](DialogDriver& d) {
            FillAndAccept(d, "new.example", "wl.new:5000", "", 1);
            openAfterBox = d.Open();
            focus = d.FocusAfterWait(Field1);
            d.Select(1);
            d.AcceptAnswering(0);
            d.WaitClosed();
        });
        EXPECT_TRUE(call.accepted);
        EXPECT_EQ(7, call.chosen);
        EXPECT_EQ("beta.example=new.example\n", Lines(cfg.WebServersHosts));
        EXPECT_EQ("wl.beta:4001=wl.new:5000\nrs.beta:4002=wl.new:5000\n", Lines(cfg.WardLocations));
    }
    log = ReadBytes(dir / "run.log");
    const std::string message =
        "Не указано значение поля \"Используемый ранее защищаемый сервер:\".Для корректного проведения "
        "обновления пожалуйста, введите значение в требуемое поле и нажмите кнопку \"Обновить\".";
    ASSERT_EQ(1u, call.boxes.size()) << Describe(call.boxes);
    EXPECT_EQ(Utf8FromAnsi("Error"), call.boxes[0].caption);
    EXPECT_EQ(Utf8FromAnsi(message), call.boxes[0].text);
    EXPECT_TRUE(openAfterBox);
    EXPECT_EQ(Field1, focus);
    EXPECT_NE(std::string::npos, log.find("Not fill edit contols in dialog: " + message)) << Utf8FromAnsi(log);
}

TEST(ServerDialogChecks, HostInUseInAnotherCaseAsksAndOkTargetsThatSection)
{
    TConfigurator cfg;
    bool openAfterCancel = false;
    DialogCall call = RunDialog(cfg, ThreeServers(), {Answer::Cancel, Answer::Ok}, [&](DialogDriver& d) {
        d.Select(0);
        FillAndAccept(d, "BETA.Example", "wl.new:5000", "", 1);
        openAfterCancel = d.Open();
        d.AcceptAnswering(1);
        d.WaitClosed();
    });
    ASSERT_EQ(2u, call.boxes.size()) << Describe(call.boxes);
    EXPECT_TRUE(openAfterCancel);
    for (const BoxRecord& box : call.boxes) {
        EXPECT_EQ(Utf8FromAnsi("Внимание"), box.caption);
        EXPECT_EQ((std::vector<std::string>{"OK", "Cancel"}), box.buttons);
        EXPECT_EQ(0u, box.text.find(Utf8FromAnsi("Значение, введенное Вами в поле \"Новый защищаемый сервер:\" "
                                                 "(BETA.Example) уже используется")))
            << box.text;
    }
    EXPECT_TRUE(call.accepted);
    EXPECT_EQ(7, call.target);
    EXPECT_EQ(3, call.chosen);
    EXPECT_EQ("alpha.example=BETA.Example\n", Lines(cfg.WebServersHosts));
}

TEST(ServerDialogChecks, OneServersOwnHostConfirmedReplacesItsOwnSection)
{
    TConfigurator cfg;
    DialogCall call = RunDialog(cfg, Servers({"bank.example=3|wl.old:4000|"}), {Answer::Ok}, [&](DialogDriver& d) {
        FillAndAccept(d, "Bank.Example", "wl.new:5000", "", 1);
        d.WaitClosed();
    });
    ASSERT_EQ(1u, call.boxes.size()) << Describe(call.boxes);
    EXPECT_EQ(Utf8FromAnsi("Внимание"), call.boxes[0].caption);
    EXPECT_TRUE(call.accepted);
    EXPECT_EQ(3, call.chosen);
    EXPECT_EQ(3, call.target);
}

TEST(ServerDialogChecks, ConfirmedHostOfAFailedRoundDoesNotDecideTheTarget)
{
    TConfigurator cfg;
    DialogCall call = RunDialog(cfg, ThreeServers(), {Answer::Ok, Answer::Ok}, [&](DialogDriver& d) {
        d.Select(0);
        // Host confirmed, then the empty tunnel address fails the round.
        FillAndAccept(d, "beta.example", "", "", 2);
        FillAndAccept(d, "fresh.example", "wl.new:5000", "");
        d.WaitClosed();
    });
    ASSERT_EQ(2u, call.boxes.size()) << Describe(call.boxes);
    EXPECT_EQ(Utf8FromAnsi("Внимание"), call.boxes[0].caption);
    EXPECT_EQ("Error", call.boxes[1].caption);
    EXPECT_TRUE(call.accepted);
    EXPECT_EQ(200, call.target);
    EXPECT_EQ("alpha.example=fresh.example\n", Lines(cfg.WebServersHosts));
}

TEST(ServerDialogChecks, EmptyRequiredFieldsAreNamedAndFocused)
{
    TempDir dir;
    int focusBoth = ElementCount;
    int focusLocation = ElementCount;
    bool open = false;
    DialogCall call;
    {
        TConfigurator cfg;
        cfg.OpenLog(dir / "run.log");
        call = RunDialog(cfg, Servers({"bank.example=3|wl.old:4000|"}), {Answer::Ok, Answer::Ok},
                         [&](DialogDriver& d) {
                             FillAndAccept(d, "", "", "new reserve", 1);
                             focusBoth = d.FocusAfterWait(Field2);
                             FillAndAccept(d, "new.example", "", "", 1);
                             focusLocation = d.FocusAfterWait(Field3);
                             open = d.Open();
                             d.Click(Decline);
                             d.WaitClosed();
                         });
        EXPECT_FALSE(call.accepted);
        EXPECT_EQ(0, cfg.WebServersHosts.Count());
        EXPECT_EQ(0, cfg.WardLocations.Count());
    }
    const std::string both =
        "Не указано значение полей: \r\nНовый защищаемый сервер:\r\nНовый адрес и порт сервера Warden:\r\n\r\n"
        "Для корректного проведения обновления пожалуйста, введите значение в требуемые поля и нажмите кнопку "
        "\"Обновить\".";
    const std::string one =
        "Не указано значение поля \"Новый адрес и порт сервера Warden:\".Для корректного проведения обновления "
        "пожалуйста, введите значение в требуемое поле и нажмите кнопку \"Обновить\".";
    ASSERT_EQ(2u, call.boxes.size()) << Describe(call.boxes);
    EXPECT_EQ("Error", call.boxes[0].caption);
    EXPECT_EQ((std::vector<std::string>{"OK"}), call.boxes[0].buttons);
    EXPECT_EQ(Utf8FromAnsi(both), call.boxes[0].text);
    EXPECT_EQ(Utf8FromAnsi(one), call.boxes[1].text);
    EXPECT_EQ(Field2, focusBoth);
    EXPECT_EQ(Field3, focusLocation);
    EXPECT_TRUE(open);
    std::string log = ReadBytes(dir / "run.log");
    EXPECT_NE(std::string::npos, log.find("Not fill edit contols in dialog: " + both)) << Utf8FromAnsi(log);
    EXPECT_NE(std::string::npos, log.find("Not fill edit contols in dialog: " + one)) << Utf8FromAnsi(log);
}

TEST(ServerDialogChecks, AddressWithoutPortAsksAndCancelKeepsTheDialog)
{
    TConfigurator cfg;
    bool openAfterHostOnly = false;
    bool openAfterColonOnly = false;
    bool openAfterReserve = false;
    DialogCall call = RunDialog(cfg, ThreeServers(), {Answer::Cancel, Answer::Cancel, Answer::Ok, Answer::Cancel,
                                                      Answer::Ok, Answer::Ok},
                                [&](DialogDriver& d) {
                                    d.Select(1);
                                    FillAndAccept(d, "new.example", "wl.new", "", 1);
                                    openAfterHostOnly = d.Open();
                                    FillAndAccept(d, "new.example", "wl.new:", "", 1);
                                    openAfterColonOnly = d.Open();
                                    FillAndAccept(d, "new.example", "wl.new:", "rs.new", 2);
                                    openAfterReserve = d.Open();
                                    d.AcceptAnswering(2);
                                    d.WaitClosed();
                                });
    ASSERT_EQ(6u, call.boxes.size()) << Describe(call.boxes);
    EXPECT_EQ(Utf8FromAnsi("Не указан порт перенаправления запросов на сервер защиты Warden в поле \"Новый адрес "
                           "и порт сервера Warden:\" (\"wl.new\"). Вы действительно хотите сохранить введенные "
                           "значения?"),
              call.boxes[0].text);
    EXPECT_NE(std::string::npos, call.boxes[1].text.find("(\"wl.new:\")"));
    EXPECT_NE(std::string::npos, call.boxes[3].text.find(Utf8FromAnsi("\"Новый адрес и порт резервного сервера "
                                                                      "Warden:\" (\"rs.new\")")))
        << call.boxes[3].text;
    for (const BoxRecord& box : call.boxes)
        EXPECT_EQ(Utf8FromAnsi("Внимание"), box.caption);
    EXPECT_TRUE(openAfterHostOnly);
    EXPECT_TRUE(openAfterColonOnly);
    EXPECT_TRUE(openAfterReserve);
    EXPECT_TRUE(call.accepted);
    EXPECT_EQ("wl.beta:4001=wl.new:\nrs.beta:4002=rs.new\n", Lines(cfg.WardLocations));
}

TEST(ServerDialogResults, ReservePairFollowsTheChosenServer)
{
    struct Case {
        int server;
        const char* reserve;
        const char* locations;
    } cases[] = {
        {1, "", "wl.beta:4001=wl.new:5000\nrs.beta:4002=wl.new:5000\n"},
        {1, "rs.new:5001", "wl.beta:4001=wl.new:5000\nrs.beta:4002=rs.new:5001\n"},
        {2, "rs.new:5001", "wl.gamma:4003=wl.new:5000\n"},
    };
    for (const Case& c : cases) {
        TConfigurator cfg;
        DialogCall call = RunDialog(cfg, ThreeServers(), {}, [&](DialogDriver& d) {
            d.Select(c.server);
            FillAndAccept(d, "new.example", "wl.new:5000", c.reserve);
            d.WaitClosed();
        });
        EXPECT_TRUE(call.accepted) << c.server << " " << c.reserve;
        EXPECT_EQ(c.locations, Lines(cfg.WardLocations));
        EXPECT_EQ(0, call.unscripted) << Describe(call.boxes);
    }
}

TEST(ServerDialogResults, DeclineOrAClosedWindowAppendsNothing)
{
    for (bool closeWindow : {false, true}) {
        TConfigurator cfg;
        DialogCall call = RunDialog(cfg, ThreeServers(), {}, [&](DialogDriver& d) {
            d.Select(1);
            d.Type(Field2, "new.example");
            d.Type(Field3, "wl.new:5000");
            if (closeWindow)
                ::PostMessageA(d.Dialog(), WM_CLOSE, 0, 0);
            else
                d.Click(Decline);
            d.WaitClosed();
        });
        ASSERT_TRUE(call.found);
        EXPECT_FALSE(call.accepted);
        EXPECT_EQ(100, call.chosen);
        EXPECT_EQ(200, call.target);
        EXPECT_EQ(0, cfg.WebServersHosts.Count());
        EXPECT_EQ(0, cfg.WardLocations.Count());
        EXPECT_TRUE(call.boxes.empty()) << Describe(call.boxes);
    }
}

}  // namespace

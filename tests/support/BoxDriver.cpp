#include "support/BoxDriver.h"

#include "support/Bounded.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <utility>

namespace {

struct ButtonName {
    int id;
    const char* name;
};
const ButtonName ButtonNames[] = {{IDOK, "OK"},       {IDCANCEL, "Cancel"}, {IDABORT, "Abort"}, {IDRETRY, "Retry"},
                                  {IDIGNORE, "Ignore"}, {IDYES, "Yes"},       {IDNO, "No"}};

std::string ClassName(HWND window)
{
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

const char* const ProgressWindowClass = "WardCfgUpProgress";

struct WindowSearch {
    DWORD processId;
    std::string className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if ((search->processId == 0 || pid == search->processId) && ::IsWindowVisible(window) &&
        ClassName(window) == search->className)
        search->found.push_back(window);
    return TRUE;
}

// The box's message: the static control with text (the icon's static has none).
std::string BoxText(HWND box)
{
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == "Static" && ::GetWindowTextLengthA(child) > 0)
            return WindowTextUtf8(child);
    return std::string();
}

}  // namespace

// Read through the wide functions: what the user sees, whatever code page either program has.
std::string WindowTextUtf8(HWND window)
{
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    length = ::GetWindowTextW(window, &text[0], length + 1);
    text.resize(length > 0 ? length : 0);
    return Utf8FromWide(text);
}

std::vector<HWND> FindTopLevelWindows(DWORD processId, const std::string& className)
{
    WindowSearch search{processId, className, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

RECT ChildRect(HWND parent, HWND child)
{
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

BoxDriver::BoxDriver(DWORD processId, std::vector<Answer> script, BoxHook onBox)
    : processId_(processId), script_(std::move(script)), onBox_(std::move(onBox))
{
}

bool BoxDriver::Step()
{
    WatchProgress();
    bool any = false;
    for (HWND box : FindTopLevelWindows(processId_))
        if (!answered_.count(box))
            any = Handle(box) || any;
    return any;
}

bool BoxDriver::Handle(HWND box)
{
    BoxRecord record;
    record.caption = WindowTextUtf8(box);
    record.text = BoxText(box);
    ::GetWindowThreadProcessId(box, &record.processId);
    // Asked now that the box is there: a window closed before the box came is gone by now.
    record.progressShown = !FindTopLevelWindows(processId_, ProgressWindowClass).empty();
    for (const ButtonName& button : ButtonNames) {
        HWND control = ::GetDlgItem(box, button.id);
        if (control && ::IsWindowVisible(control))
            record.buttons.push_back(button.name);
    }
    Answer answer = Answer::Cancel;
    if (next_ < script_.size()) {
        answer = script_[next_++];
    } else {
        record.scripted = false;
        ++unscripted_;
    }
    int id = answer == Answer::Ok ? IDOK : IDCANCEL;
    record.answer = answer == Answer::Ok ? "OK" : "Cancel";
    // A box with OK alone takes IDOK for Cancel too, as Esc does.
    if (!::GetDlgItem(box, id) || !::IsWindowVisible(::GetDlgItem(box, id)))
        id = IDOK;
    records_.push_back(record);
    answered_.insert(box);
    if (onBox_)
        onBox_(record);
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
    // Wait, bounded, for the box to go, so that its handle is not seen twice.
    WaitUntil([&] { return !::IsWindow(box); }, 2000);
    answered_.erase(box);
    return true;
}

void BoxDriver::WatchProgress()
{
    // Found once and then only read: a copy's step lasts a few milliseconds.
    if (!::IsWindowVisible(progressWindow_)) {
        std::vector<HWND> windows = FindTopLevelWindows(processId_, ProgressWindowClass);
        progressWindow_ = windows.empty() ? nullptr : windows[0];
    }
    progressShown_ = progressWindow_ != nullptr;
    if (!progressShown_)
        return;
    ProgressRecord record{{}, records_.size()};
    for (HWND child = ::GetWindow(progressWindow_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::string text = WindowTextUtf8(child);
        for (std::string::size_type from = 0; from < text.size();) {
            std::string::size_type end = std::min(text.find("\r\n", from), text.size());
            if (end > from)
                record.lines.push_back(text.substr(from, end - from));
            from = end + 2;
        }
    }
    if (progress_.empty() || progress_.back().lines != record.lines)
        progress_.push_back(record);
}

ProgramRunResult RunAndDriveBoxes(const std::string& commandLine, const std::string& currentDir,
                                  std::vector<Answer> script, DWORD timeoutMs, BoxDriver::BoxHook onBox,
                                  std::function<bool()> endWhen)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &process))
        return ProgramRunResult();
    platform::UniqueHandle mainThread(process.hThread);
    return DriveBoxes(platform::UniqueHandle(process.hProcess), process.dwProcessId, std::move(script), timeoutMs,
                      std::move(onBox), std::move(endWhen));
}

ProgramRunResult DriveBoxes(platform::UniqueHandle program, DWORD processId, std::vector<Answer> script,
                            DWORD timeoutMs, BoxDriver::BoxHook onBox, std::function<bool()> endWhen)
{
    ProgramRunResult result;
    result.started = true;
    BoxDriver driver(processId, std::move(script), std::move(onBox));
    DWORD start = ::GetTickCount();
    for (;;) {
        // A copy shows its step for milliseconds only: the progress window is watched closely,
        // and so is a run that is to be ended at an instant.
        if (::WaitForSingleObject(program.get(), driver.ProgressShown() ? 1 : endWhen ? 5 : 20) == WAIT_OBJECT_0) {
            result.finished = true;
            break;
        }
        result.ended = endWhen && endWhen();
        if (result.ended || ::GetTickCount() - start > timeoutMs) {
            ::TerminateProcess(program.get(), 255);
            ::WaitForSingleObject(program.get(), 5000);
            break;
        }
        driver.Step();
    }
    ::GetExitCodeProcess(program.get(), &result.exitCode);
    result.boxes = driver.Records();
    result.unscripted = driver.Unscripted();
    result.progress = driver.Progress();
    return result;
}

std::string Describe(const std::vector<BoxRecord>& boxes)
{
    std::string text;
    for (const BoxRecord& box : boxes) {
        text += "[" + box.caption + "] " + box.text + " {";
        for (const std::string& button : box.buttons)
            text += " " + button;
        text += " } -> " + box.answer + (box.scripted ? "" : " (unscripted)") + "\n";
    }
    return text;
}

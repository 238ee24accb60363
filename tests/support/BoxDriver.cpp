#include "support/BoxDriver.h"

#include "support/TestFiles.h"

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

BOOL CALLBACK CollectBox(HWND window, LPARAM param)
{
    auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if ((found->first == 0 || pid == found->first) && ::IsWindowVisible(window) && ClassName(window) == "#32770")
        found->second.push_back(window);
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

std::string WindowTextUtf8(HWND window)
{
    int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    length = ::GetWindowTextA(window, &text[0], length + 1);
    text.resize(length > 0 ? length : 0);
    return Utf8FromAnsi(text);
}

std::vector<HWND> FindMessageBoxes(DWORD processId)
{
    std::pair<DWORD, std::vector<HWND>> found{processId, {}};
    ::EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

BoxDriver::BoxDriver(DWORD processId, std::vector<Answer> script, BoxHook onBox)
    : processId_(processId), script_(std::move(script)), onBox_(std::move(onBox))
{
}

bool BoxDriver::Step()
{
    bool any = false;
    for (HWND box : FindMessageBoxes(processId_))
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
    for (int i = 0; i < 200 && ::IsWindow(box); ++i)
        ::Sleep(10);
    answered_.erase(box);
    return true;
}

ProgramRunResult RunAndDriveBoxes(const std::string& commandLine, const std::string& currentDir,
                                  std::vector<Answer> script, DWORD timeoutMs, BoxDriver::BoxHook onBox,
                                  std::function<bool()> endWhen)
{
    ProgramRunResult result;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &process))
        return result;
    result.started = true;
    BoxDriver driver(process.dwProcessId, std::move(script), std::move(onBox));
    DWORD start = ::GetTickCount();
    for (;;) {
        if (::WaitForSingleObject(process.hProcess, endWhen ? 5 : 20) == WAIT_OBJECT_0) {
            result.finished = true;
            break;
        }
        result.ended = endWhen && endWhen();
        if (result.ended || ::GetTickCount() - start > timeoutMs) {
            ::TerminateProcess(process.hProcess, 255);
            ::WaitForSingleObject(process.hProcess, 5000);
            break;
        }
        driver.Step();
    }
    ::GetExitCodeProcess(process.hProcess, &result.exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    result.boxes = driver.Records();
    result.unscripted = driver.Unscripted();
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

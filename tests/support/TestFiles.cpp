#include "support/TestFiles.h"

#include "platform/Owner.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir()
{
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    // Names that are already short (8 hex digits: process and counter): Wine
    // makes the short form of a long name from a 15-bit hash, near names such
    // as two folders made a few milliseconds apart often share one, and a
    // lookup by short path then lands in the wrong folder.
    static unsigned counter = 0;
    for (;;) {
        char name[16];
        wsprintfA(name, "%04X%04X\\", static_cast<unsigned>(::GetCurrentProcessId() & 0xFFFF), ++counter & 0xFFFF);
        path_ = std::string(temp) + name;
        if (::CreateDirectoryA(path_.c_str(), nullptr))
            return;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + path_);
    }
}

TempDir::~TempDir()
{
    RemoveTree(path_);
}

CurrentDirectory::CurrentDirectory(const std::string& path)
{
    char previous[MAX_PATH];
    DWORD length = ::GetCurrentDirectoryA(sizeof previous, previous);
    previous_.assign(previous, length < sizeof previous ? length : 0);
    if (!::SetCurrentDirectoryA(path.c_str()))
        throw std::runtime_error("cannot change to " + path);
}

CurrentDirectory::~CurrentDirectory()
{
    ::SetCurrentDirectoryA(previous_.c_str());
}

HeldFile::HeldFile(const std::string& path, bool exclusive)
    : handle_(::CreateFileA(path.c_str(), GENERIC_READ, exclusive ? 0 : FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr))
{
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeDirectory(const std::string& path)
{
    ::CreateDirectoryA(path.c_str(), nullptr);
}

void RemoveTree(const std::string& path)
{
    std::string dir = path;
    if (!dir.empty() && dir.back() == '\\')
        dir.pop_back();
    WIN32_FIND_DATAA found;
    platform::FindHandle search(::FindFirstFileA((dir + "\\*").c_str(), &found));
    if (search) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = dir + "\\" + name;
            ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                ::DeleteFileA(full.c_str());
        } while (::FindNextFileA(search.get(), &found));
    }
    ::RemoveDirectoryA(dir.c_str());
}

std::string BinDir()
{
    char name[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, name, sizeof name);
    std::string path(name, length);
    return path.substr(0, path.rfind('\\') + 1);
}

static std::string Narrowed(const std::wstring& wide, UINT to)
{
    int wideLength = static_cast<int>(wide.size());
    int length = ::WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string out(length, '\0');
    if (length > 0)
        ::WideCharToMultiByte(to, 0, wide.data(), wideLength, &out[0], length, nullptr, nullptr);
    return out;
}

static std::string Convert(const std::string& text, UINT from, UINT to)
{
    if (text.empty())
        return text;
    int wideLength = ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(wideLength, L'\0');
    ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), &wide[0], wideLength);
    return Narrowed(wide, to);
}

std::string Utf8FromAnsi(const std::string& text)
{
    return Convert(text, 1251, CP_UTF8);
}

std::string Utf8FromCodePage(const std::string& text, UINT codePage)
{
    return Convert(text, codePage, CP_UTF8);
}

std::string AnsiFromUtf8(const std::string& text)
{
    return Convert(text, CP_UTF8, 1251);
}

std::string Utf8FromWide(const std::wstring& text)
{
    return Narrowed(text, CP_UTF8);
}

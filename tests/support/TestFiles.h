// Scratch directories and whole-file access for tests (Windows paths).
#pragma once

#include "platform/Owner.h"

#include <string>

// A fresh directory under the temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }  // ends in a backslash
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Makes a directory the current one until the end of the scope.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& path);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    std::string previous_;
};

// A file held open by the test, for reading: without sharing for writing and
// deleting, so that it can be neither renamed nor replaced; `exclusive` also
// keeps others from reading it. Holds nothing when the file cannot be opened.
class HeldFile {
public:
    HeldFile(const std::string& path, bool exclusive);

    explicit operator bool() const { return static_cast<bool>(handle_); }
    void Release() { handle_.reset(); }

private:
    platform::FileHandle handle_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);  // empty when the file cannot be read
bool Exists(const std::string& path);            // a file or a directory
void MakeDirectory(const std::string& path);
void RemoveTree(const std::string& path);

// The folder of the running test program, where the program and the fixtures are built.
std::string BinDir();

// Text in the program's code page (CP1251) to UTF-8 and back.
std::string Utf8FromAnsi(const std::string& text);
std::string AnsiFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
// Bytes read in another code page, as a program that is not Unicode shows them there.
std::string Utf8FromCodePage(const std::string& text, UINT codePage);

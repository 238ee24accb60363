// Wine prefers its built-in DLLs to one in a program's folder, where Windows
// takes the one in the folder for every DLL it does not load from the system
// directory alone. Tests of planted DLLs make Wine do as Windows does.
#pragma once

#include <string>

class PreferDllBesideProgram {
public:
    // For the life of this object, Wine prefers `dll` (a name without ".dll")
    // found beside the program of that file name.
    PreferDllBesideProgram(const std::string& program, const std::string& dll);
    ~PreferDllBesideProgram();
    PreferDllBesideProgram(const PreferDllBesideProgram&) = delete;
    PreferDllBesideProgram& operator=(const PreferDllBesideProgram&) = delete;

private:
    std::string key_;
};

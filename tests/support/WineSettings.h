// Wine's settings for one program (HKCU\Software\Wine\AppDefaults\<program>),
// where tests make Wine behave as a Windows system of another kind would.
#pragma once

#include <string>

// A value set in the program's settings for the life of this object; the key it
// was written to is deleted at the end.
class WineProgramSetting {
public:
    // subkey: "" for the program's own key.
    WineProgramSetting(const std::string& program, const std::string& subkey, const std::string& name,
                       const std::string& value);
    ~WineProgramSetting();
    WineProgramSetting(const WineProgramSetting&) = delete;
    WineProgramSetting& operator=(const WineProgramSetting&) = delete;

private:
    std::string key_;
};

// Wine prefers its built-in DLLs to one in a program's folder, where Windows
// takes the one in the folder for every DLL it does not load from the system
// directory alone. Tests of planted DLLs make Wine do as Windows does: it
// prefers `dll` (a name without ".dll") found beside the program of that file name.
class PreferDllBesideProgram : public WineProgramSetting {
public:
    PreferDllBesideProgram(const std::string& program, const std::string& dll)
        : WineProgramSetting(program, "DllOverrides", dll, "native,builtin")
    {
    }
};

// Wine reports the 9x family to the program of that file name.
class Win98Program : public WineProgramSetting {
public:
    explicit Win98Program(const std::string& program) : WineProgramSetting(program, "", "Version", "win98") {}
};

// Wine loads no `dll` (a name without ".dll") for the program of that file name, as on a Windows that lacks it.
class MissingDll : public WineProgramSetting {
public:
    MissingDll(const std::string& program, const std::string& dll)
        : WineProgramSetting(program, "DllOverrides", dll, "")
    {
    }
};

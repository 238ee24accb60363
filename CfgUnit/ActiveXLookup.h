// The client's controls as the program knows them: the class id of the
// lookup of their registration, and the files the update registers.
#pragma once

#include <string>

// Blanks around it dropped, braces added where missing; empty for a blank one.
std::string BracedClsid(const std::string& clsid);

// Whether the update cycle registers the file: a control, by its extension ".ocx".
bool IsActiveX(const std::string& entry);

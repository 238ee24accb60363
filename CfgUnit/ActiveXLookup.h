// The class id of the client's control as the lookup of its registration uses it.
#pragma once

#include <string>

// Blanks around it dropped, braces added where missing; empty for a blank one.
std::string BracedClsid(const std::string& clsid);

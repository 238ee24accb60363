// An exception at a point of the program that no test can reach otherwise:
// the next allocation of exactly that many bytes, from any code of the test
// program, throws std::bad_alloc, once. A test makes the size unique (a text
// of ten megabytes the program copies with a known prefix).
#pragma once

#include <cstddef>

void FailNextAllocationOf(std::size_t bytes);

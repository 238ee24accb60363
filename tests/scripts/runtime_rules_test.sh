#!/usr/bin/env bash
# The program's lean runtime (runtime/LeanRuntime.cpp) throws one plain
# std::exception from the library's throw helpers: in the program a handler
# of std::out_of_range, std::length_error and their kin never matches, though
# it does in every test, which links the library's runtime. So no product
# source catches a standard exception by any type but std::exception.
#   runtime_rules_test.sh FOLDER...   (the folders of the program's sources)
set -uo pipefail
pattern='catch[[:space:]]*\([[:space:]]*(const[[:space:]]+)?std::[[:alnum:]_:]+'
allowed='catch[[:space:]]*\([[:space:]]*(const[[:space:]]+)?std::exception[[:space:]]*[&)]'

# The rule itself sees what it must.
printf 'try {} catch (const std::out_of_range& e) {}\n' | grep -qE "$pattern" || { echo "the pattern misses a catch"; exit 1; }
printf 'try {} catch (const std::exception& e) {}\n' | grep -E "$pattern" | grep -qvE "$allowed" &&
    { echo "the pattern takes std::exception for another type"; exit 1; }

found=$(grep -rnE "$pattern" "$@" --include='*.cpp' --include='*.h' | grep -vE "$allowed")
if [ -n "$found" ]; then
    echo "product code catches a standard exception by another type than std::exception,"
    echo "which the program's runtime never throws:"
    echo "$found"
    exit 1
fi
echo "no product code catches a standard exception by another type than std::exception"

#pragma once
// Resource names on disk. A backslash in a name is a path separator, and a
// name that misses is matched again one path component at a time without
// regard to case, so data made on a case-insensitive system still loads.
#include <string>

// The path of the regular file the name refers to, or "" when none.
std::string FindOnDisk(const std::string& Name);

// A resource name made relative to CurrentDir: a leading separator is
// dropped, and each leading "..\" group climbs one folder of CurrentDir
// (while it has one). Both "\\" and "/" separate.
std::string ExpandRelativeName(const std::string& Name, const std::string& CurrentDir);

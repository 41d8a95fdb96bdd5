#pragma once
// What -edit can know before a window opens: whether the named file is a
// level pack the editor can work on, or a place where it can create one.
#include <string>

// Why the editor cannot work on Pack, in words for standard error ("x.sq is
// a folder", "x.sq is not a level pack", "cannot create x.sq: Permission
// denied"); empty when it can.
std::string EditPackProblem(const std::string& Pack);

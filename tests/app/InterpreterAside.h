// Takes the prefix's 64-bit command interpreter (the one the tool starts, by full path, with
// file-system redirection off) out of the way for a scope, so that every program start of
// the tool fails, and puts it back when the scope ends, also when a test fails half-way.
// Tests that start the command interpreter must not run meanwhile (their "cmd" lock).
#pragma once

#include "repair/SystemFileAside.h"

class CInterpreterAside : public CSystemFileAside {
public:
    CInterpreterAside() : CSystemFileAside(L"cmd.exe") {}
};

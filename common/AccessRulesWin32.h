#pragma once
// The access rules (DACL) of a replacement file. It is written in our temporaries folder, so it starts
// with the rules handed down there; before it takes a target's place it must carry the target's own.
// Failures are ignored, as a replacement always ignored them: the bytes matter more than the rules, and a
// file system without access rules has none to keep. Windows only.
#include <windows.h>

#include <string>

// Gives `file` (open with WRITE_DAC) the rules of `model` (open with READ_CONTROL) as they are, inherited
// entries still marked inherited, so that once renamed into the model's place it carries exactly what the
// model carried.
void CopyAccessRules(HANDLE model, HANDLE file);

// Drops the rules `file` brought from where it was written and lets it take those its folder hands down,
// as a file created there would have.
void InheritAccessRules(const std::wstring& file);

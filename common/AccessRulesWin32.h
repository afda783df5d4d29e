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

// Lets `file`, just renamed into its folder from the folder `writtenIn` (both ending in "\\"), carry the
// rules that its folder hands down, as a file created there would. When the two folders' own rules are the
// same entry for entry they hand down the same, and the file carries them already; that is found once per
// folder and remembered until ForgetHandedDownRules, so a folder of many new files costs one look. Else the
// file drops the rules it brought and takes those its folder hands down.
void InheritAccessRules(const std::wstring& file, const std::wstring& folder, const std::wstring& writtenIn);

// Forgets what InheritAccessRules found out about folders: a folder's rules may change between runs.
void ForgetHandedDownRules();

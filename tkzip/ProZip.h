#pragma once
// The one export of TkZip.dll, undecorated and stdcall (the callee removes the arguments).
//
// ProZip(archive, target, mode): with mode 1, extracts one member of the archive to the target path;
// every other mode fails. The member is the archive's only file or, with several, the one whose last
// path component equals the target's file name, ASCII case ignored (tkzip/MemberChoice.h). The data is
// inflated into a temporary file, checked against the recorded CRC-32 and length, and only then takes the
// target's place in one rename; on any failure the target is left as it was and the temporary file is
// removed. The temporary lives in the folder "Update\~upd\" beside the DLL, the staging folder of the
// application that ships it (common/TemporariesWin32.h), and each call first clears what killed processes
// left there; a target on another volume than the DLL fails, since the rename cannot cross volumes. Its own
// file as target (a new TkZip.dll extracted while this one is loaded) is renamed aside, as any image in
// use (common/ReplacementFileWin32.h), and the call, like later ones, goes on through the loaded image.
// Returns 0 on success and -1 on failure; nothing is raised across the export. Both paths are
// NUL-terminated UTF-16 strings owned by the caller (BSTRs at the one call site), read only during the call.
extern "C" int __stdcall ProZip(const wchar_t* archive, const wchar_t* target, int mode);

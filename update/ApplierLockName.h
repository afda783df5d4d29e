#pragma once
// The name of the lock that lets one applier at a time work in an application folder (ApplierLockWin32.h).
// A mutex name may not hold "\" and is at most MAX_PATH long, so the folder is named by a hash of its
// path: the 64-bit FNV-1a hash of its GBK bytes with ASCII letters upper-cased outside double-byte
// characters (so "C:\Exam\" and "c:\exam\" name one folder, and a trail byte "a" is not taken for "A"),
// in 16 hexadecimal digits after a fixed prefix in the global namespace: "Global\QeltoExamUpdate-".
#include <string>

std::string ApplierLockName(const std::string& applicationFolder);

#pragma once
// UnitPublic: the program's shared constants and the shared routines that several parts use.
#include <cstdint>
#include <string>

// ---- Shared constants (UnitPublic.cpp) -------------------------------------------------------------
// The hexadecimal texts are enciphered (see common/Decipher.h) with CipherKey by tools/encipher.py,
// whose usage text lists their plain values. The key's top four bits are not all zero, so even the first
// byte of every text is masked. Only LaunchParameters is read by the program; the title and the four
// configuration texts are kept as the unit's published constants. Each array's bound is the digit count
// plus the terminating NUL.

// Key of every enciphered text of the program.
extern const std::uint16_t CipherKey;

// The exam client's command-line parameters: 11 enciphered bytes of a client switch.
extern const char LaunchParameters[23];

// "Marovin--在线考试平台": the platform's title, as GBK bytes.
extern const char PlatformTitle[];

// Enciphered configuration values of the exam client: the server address, the database user, the
// database catalog and the path of the update service.
extern const char ServerAddressCode[17];
extern const char DatabaseUserCode[13];
extern const char CatalogCode[51];
extern const char ServicePathCode[49];

// ---- Stream copy of one file (CopyFileByStreamWin32.cpp) -------------------------------------------

// Installs a copy of source as target; true on success. The source is opened for reading with no
// sharing; failing that raises EFOpenError with its full path and the system's text. The bytes go to a
// temporary file (common/ReplacementFileWin32.h), which then takes the target's place in one step keeping
// the old file's attributes, so the target holds its old or its new bytes whenever the program is killed.
// A target that is a folder, is read-only or is held open by another program is a copy failure (false),
// as is a read or write failure during the copy; the temporary file is removed then. Another program's
// moment's hold on the source or the target is waited for first, bounded (common/HoldsWin32.h).
bool CopyFileByStream(const std::string& source, const std::string& target);

// ---- Process termination by image name (TerminateProcessesWin32.cpp) -------------------------------

// Asks every running process whose image name matches name (see common/ImageNameMatch.h) to end, with exit
// code 0, in snapshot order; then waits until every one asked is gone, at most 5 s for all of them (Windows
// ends a process after TerminateProcess returns, its files still held and its image mapped until then;
// past the bound the caller goes on). Returns the outcome of the last termination attempt, or false when no
// process matched or the process list could not be taken. Reports nothing.
bool TerminateProcessesByName(const std::string& name);

// ---- Message box (ShowMessageBoxWin32.cpp) ---------------------------------------------------------

// Shows `text` under `caption` in the application-modal message box and returns the button pressed:
// kind 0 shows the information icon and an OK button (flags 64), kind 1 the question icon and Yes and No
// buttons (flags 36). Any other kind shows nothing and returns 0. The box is the registered owner's
// (common/MessageBoxOwner.h); with none, EAppError. Windows only (ShowMessageBoxWin32.cpp).
int ShowMessageBox(const std::string& text, int kind, const std::string& caption);

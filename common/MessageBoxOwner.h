#pragma once
// The window that owns the program's message boxes. The message-box call (ShowMessageBox in
// common/UnitPublic.h) sits below the program's window code, so the owner reaches it from above: the
// application object implements this and registers itself for its lifetime.
#include <string>

class MessageBoxOwner {
public:
    // Shows MessageBoxA owned by this window, modal to the whole program, with the text, caption and
    // flags unchanged; returns the button pressed.
    virtual int ModalMessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;

protected:
    ~MessageBoxOwner() = default;
};

// Makes `owner` the owner of ShowMessageBox's boxes; nullptr when it goes away.
void SetMessageBoxOwner(MessageBoxOwner* owner);

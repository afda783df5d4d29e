#pragma once
// The JPEG library's error manager: a fatal error jumps back to the guarded call that was running, which
// raises EJPEG with the library's message code; warnings and trace messages are dropped; a reset clears
// the warning count and the message code.
//
// A jump rather than an exception, because the library is C code that an exception cannot be relied on to
// cross. So a guarded step may run library calls and plain code only: nothing with a destructor may be
// alive in the frames between the library and the guard.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "imaging/jpeg/JPEGError.h"

struct JPEGErrorManager {
    jpeg_error_mgr Manager; // first, so that the library's pointer to it is a pointer to the whole
    std::jmp_buf Jump;

    // Fills the manager; the caller points its decompression object's err at &Manager.
    void Install();

    // Runs `step`; a fatal library error during it raises EJPEG.
    template <typename Step>
    void Guarded(const Step& step)
    {
        if (setjmp(Jump) == 0) {
            step();
            return;
        }
        throw EJPEG(Manager.msg_code);
    }
};

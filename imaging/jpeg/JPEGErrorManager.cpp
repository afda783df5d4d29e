#include "imaging/jpeg/JPEGErrorManager.h"

namespace {

void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JPEGErrorManager*>(info->err)->Jump, 1);
}

void DropMessage(j_common_ptr, int) {}

void ResetErrors(j_common_ptr info)
{
    info->err->num_warnings = 0;
    info->err->msg_code = 0;
}

} // namespace

void JPEGErrorManager::Install()
{
    jpeg_std_error(&Manager);
    Manager.error_exit = ErrorExit;
    Manager.emit_message = DropMessage;
    Manager.reset_error_mgr = ResetErrors;
}

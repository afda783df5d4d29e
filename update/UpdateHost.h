#pragma once
// The services of the program that hosts the update run: the message pump, the failure notice, the
// archive library and the relaunch of the client. The update window implements them; tests record them.
#include <string>

class UpdateHost {
public:
    virtual ~UpdateHost() = default;

    // Processes every pending message of the main thread's queue.
    virtual void PumpMessages() = 0;
    // The application-modal message box: kind 0 information with OK, kind 1 question with Yes and No.
    virtual int ShowMessageBox(const std::string& text, int kind, const std::string& caption) = 0;
    // Extracts into target from the archive; -1 on failure.
    virtual int ProZip(const std::string& archive, const std::string& target, int mode) = 0;
    // Lets the next applier of the folder in (releases the applier lock): the run's file work is over. Called
    // before the relaunch, since the relaunched client may start an applier at once.
    virtual void LetNextApplierIn() = 0;
    // Starts the exam client again and closes the update window.
    virtual void RelaunchClient() = 0;
};

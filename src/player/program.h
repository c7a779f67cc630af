// The program entry shared by the Windows player and the headless tests.
#pragma once

namespace zephlet {

// Sets up the application, creates the form (which runs the start-up
// sequence), runs the message loop until the window closes, then destroys the
// form. Returns the process exit code.
int RunPlayer();

}  // namespace zephlet

#pragma once
// The application object: starts the main window and ends the program after it.

class RenamerApp {
public:
    // Runs the program to its end; false means the program is not to continue.
    bool start();
};

// The application object: chooses the language, starts the image engine,
// runs the main dialog for the whole run and ends the engine.
#pragma once

class CArkletonApp {
public:
    // The whole run; false, so that the program ends with the dialog.
    bool InitInstance();
};

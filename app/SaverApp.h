#pragma once
#include "fw/App.h"

// The screen saver application: points the profile at the INI beside the module and dispatches the mode.
class CSaverApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

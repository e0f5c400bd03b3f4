#pragma once
#include "fw/Wnd.h"

// A static control of a dialog, subclassed to give it behaviour of its own. The platform's static control
// needs nothing beyond what every window object has, so the name stands for the plain window class.
using CStatic = CWnd;

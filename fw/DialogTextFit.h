#pragma once
#include <windows.h>

// Gives every static text of a dialog the room its caption needs in the dialog's own font, which the template's
// dialog units do not promise: a face, a scaling or a translation can make a text longer than its control. Each
// too narrow text grows to the right within its group box (see FitTextsOnTheirRows); a text that is longer than
// that room wraps instead, its control growing downward to the lines it takes. Call it once the texts are set.
void FitDialogTexts(HWND dlg);

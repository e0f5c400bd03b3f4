#pragma once
#include "fw/Wnd.h"

// A static control of a dialog, usually subclassed to give it behaviour of its own.
class CStatic : public CWnd {
protected:
    static const MsgMap* GetThisMessageMap() { return CWnd::GetThisMessageMap(); }
    const MsgMap* GetMessageMap() const override { return GetThisMessageMap(); }
};

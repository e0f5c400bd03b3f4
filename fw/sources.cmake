list(APPEND CORE_SOURCES fw/DialogNumbers.cpp fw/DialogPlacement.cpp fw/StringBlock.cpp fw/MultiByteText.cpp fw/TextFitLayout.cpp)
set(FW_WIN_SOURCES fw/App.cpp fw/Wnd.cpp fw/Dialog.cpp fw/ResourceLoad.cpp fw/SystemLibrary.cpp fw/DialogTextFit.cpp
    fw/FailureLog.cpp fw/AccessibleWnd.cpp)

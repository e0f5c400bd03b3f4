list(APPEND CORE_SOURCES fw/DialogLogic.cpp)
set(FW_WIN_SOURCES fw/App.cpp fw/Wnd.cpp fw/Dialog.cpp)

list(APPEND CORE_SOURCES fw/DialogLogic.cpp fw/StringBlock.cpp)
set(FW_WIN_SOURCES fw/App.cpp fw/Wnd.cpp fw/Dialog.cpp fw/ResourceLoad.cpp fw/SystemLibrary.cpp)

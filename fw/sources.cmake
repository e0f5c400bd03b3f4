list(APPEND CORE_SOURCES fw/DialogLogic.cpp fw/StringBlock.cpp)
list(APPEND WIN_SOURCES fw/App.cpp fw/Wnd.cpp fw/Dialog.cpp fw/ResourceLoad.cpp)

# The setup, run silently in a Wine prefix of its own: what it installs and registers leaves no trace there.
whorlix_win_test(installer ${CMAKE_CURRENT_LIST_DIR}/installer_test.cpp)
set_target_properties(win_installer PROPERTIES CROSSCOMPILING_EMULATOR
                      "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix-installer")
# It runs the whorlix-setup.exe made beside whorlix.scr.
add_dependencies(win_installer whorlix_setup)
# release.signed runs it too, over the signed setup, in the same prefix.
set_property(TEST win.installer APPEND PROPERTY RESOURCE_LOCK installer_prefix)

# The setup, run silently in a Wine prefix of its own: what it installs and registers leaves no trace there.
whorlix_win_test(installer ${CMAKE_CURRENT_LIST_DIR}/installer_test.cpp)
set_target_properties(win_installer PROPERTIES CROSSCOMPILING_EMULATOR
                      "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix-installer")
target_include_directories(win_installer PRIVATE ${PROJECT_SOURCE_DIR}/res)
target_compile_definitions(win_installer PRIVATE WHORLIX_SETUP_UNIX_PATH="${CMAKE_BINARY_DIR}/whorlix-setup.exe")
add_dependencies(win_installer whorlix_setup)

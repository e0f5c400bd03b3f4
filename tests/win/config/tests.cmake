# The settings dialog, its colour swatches and link labels, driven in the real whorlix.scr.
add_executable(config_shell_recorder WIN32 ${CMAKE_CURRENT_LIST_DIR}/shell_recorder.cpp)
target_link_options(config_shell_recorder PRIVATE ${WHORLIX_STATIC_LINK})

whorlix_win_test(config ${CMAKE_CURRENT_LIST_DIR}/ConfigDriver.cpp ${CMAKE_CURRENT_LIST_DIR}/template_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/dialog_test.cpp ${CMAKE_CURRENT_LIST_DIR}/swatch_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/link_test.cpp)
target_include_directories(win_config PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(win_config PRIVATE
                           WHORLIX_RECORDER_UNIX_PATH="$<TARGET_FILE:config_shell_recorder>")
add_dependencies(win_config config_shell_recorder)

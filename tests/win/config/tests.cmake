# The settings dialog, its colour swatches and link labels, driven in the real whorlix.scr.
add_executable(config_shell_recorder WIN32 ${CMAKE_CURRENT_LIST_DIR}/shell_recorder.cpp)
target_link_options(config_shell_recorder PRIVATE ${WHORLIX_STATIC_LINK})

whorlix_win_test(config ${CMAKE_CURRENT_LIST_DIR}/ConfigDriver.cpp ${CMAKE_CURRENT_LIST_DIR}/template_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/dialog_test.cpp ${CMAKE_CURRENT_LIST_DIR}/swatch_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/link_test.cpp ${CMAKE_CURRENT_LIST_DIR}/scaling_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/accessible_test.cpp)
target_include_directories(win_config PRIVATE ${CMAKE_SOURCE_DIR})
# The template test reads version resources with the wide functions, which the program itself does not use.
target_link_libraries(win_config PRIVATE version)

# The English face, in a program of its own: Wine starts it under a Western code page, with Japanese still
# the user-interface language, so only the program's own choice of face can make the dialog English.
whorlix_win_test(config_english ${CMAKE_CURRENT_LIST_DIR}/ConfigDriver.cpp ${CMAKE_CURRENT_LIST_DIR}/english_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/scaling_test.cpp ${CMAKE_CURRENT_LIST_DIR}/accessible_test.cpp)
target_include_directories(win_config_english PRIVATE ${CMAKE_SOURCE_DIR})
set_tests_properties(win.config_english PROPERTIES ENVIRONMENT
                     "WHORLIX_WINE_TEST=1;WHORLIX_LOCALE=C.UTF-8;WHORLIX_UI_LOCALE=ja_JP.UTF-8")

# Both drive the link labels with the shell recorder, and ask the dialog's controls what a screen reader hears.
foreach(target win_config win_config_english)
  target_compile_definitions(${target} PRIVATE WHORLIX_RECORDER_UNIX_PATH="$<TARGET_FILE:config_shell_recorder>")
  add_dependencies(${target} config_shell_recorder)
  target_link_libraries(${target} PRIVATE oleacc oleaut32)
endforeach()
